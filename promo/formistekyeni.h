// The web request form window. Qt WebEngine is not part of this build, so
// the page opens in the system browser and the window says so.
#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace kestro {

class Tformistekyeni : public QDialog
{
    Q_OBJECT
public:
    explicit Tformistekyeni(QWidget *owner = nullptr);

    // The page to show; it is opened when the window appears.
    void Navigate(const QUrl &url);
    QUrl adres() const { return m_adres; }

    QLabel *bilgi = nullptr;
    QPushButton *Button1 = nullptr; // "Kapat"

protected:
    void showEvent(QShowEvent *e) override;

private:
    void Button1Click();
    QUrl m_adres;
    bool m_acildi = false;
};

} // namespace kestro
