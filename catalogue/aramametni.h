// The stock search box: Turkish letters typed become plain Latin ones, and
// everything is kept in upper case.
#pragma once

#include <QLineEdit>

namespace kestro {

// The replacement of one typed character; characters not listed pass unchanged.
QChar AramaHarfiDonustur(QChar typed);

class AramaKutusu : public QLineEdit
{
    Q_OBJECT
public:
    explicit AramaKutusu(QWidget *parent = nullptr);

signals:
    void enterBasildi();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
};

} // namespace kestro
