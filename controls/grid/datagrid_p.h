// Parts of DataGrid that callers never see: the view, its header and the footer.
#pragma once

#include <QHeaderView>
#include <QTableView>
#include <QWidget>

namespace kestro {

class DataGrid;

// Header with a filter button at the right of each section.
class GridHeader : public QHeaderView
{
    Q_OBJECT
public:
    GridHeader(DataGrid *grid, QWidget *parent);
    QRect filterButtonRect(int logical) const;

signals:
    void filterButtonClicked(int logical, const QPoint &global);

protected:
    void paintSection(QPainter *p, const QRect &rect, int logical) const override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    DataGrid *m_grid;
    bool m_swallowRelease = false;
};

class GridView : public QTableView
{
    Q_OBJECT
public:
    GridView(DataGrid *grid, QWidget *parent);
    void keyboardSearch(const QString &search) override;
    bool incrementalSearch = true;
    QString searchText;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int searchColumn() const;
    bool findFrom(int startRow, int column, const QString &text);
    void setSearch(const QString &text);
    DataGrid *m_grid;
    bool m_searching = false;
};

class GridFooter : public QWidget
{
    Q_OBJECT
public:
    GridFooter(DataGrid *grid, QWidget *parent);
    int lines() const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    DataGrid *m_grid;
};

} // namespace kestro
