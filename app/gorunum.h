// Look shared by the program's windows: fonts, forced capitals, busy picture.
#pragma once

#include <QFont>
#include <QLabel>

class QLineEdit;
class QMovie;

namespace kestro {

// Makes the program's pictures (":/app/...") available; safe to call again.
void UygulamaResimleriniYukle();

// Tahoma where installed, else DejaVu Sans; size in pixels.
QFont TahomaYazi(int pixelSize, bool bold);

// Turns every typed letter into a capital, keeping the cursor where it was.
void BuyukHarfZorla(QLineEdit *edit);

// The small busy animation; it plays only while it is shown.
class MesgulResmi : public QLabel
{
    Q_OBJECT
public:
    explicit MesgulResmi(QWidget *parent = nullptr);
    bool oynuyor() const;

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    QMovie *m_movie;
};

} // namespace kestro
