#include "web.h"

#include "core.h"
#include "database.h"
#include "outbox.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace kestro::server {

namespace {

const char *htmlType = "text/html; charset=utf-8";

QString q(const httplib::Request &req, const char *key)
{
    return req.has_param(key) ? QString::fromStdString(req.get_param_value(key)) : QString();
}

QString esc(const QString &s) { return s.toHtmlEscaped(); }

void html(httplib::Response &res, const QString &title, const QString &body, int status = 200)
{
    const QByteArray page = QStringLiteral("<!DOCTYPE html><html lang=\"tr\"><head><meta charset=\"utf-8\"><title>%1</title>"
                                           "<style>body{font-family:sans-serif;margin:2em}label{display:block;margin:.4em 0}"
                                           "input,textarea{width:28em}</style></head><body><h1>%1</h1>%2</body></html>")
                                .arg(esc(title), body)
                                .toUtf8();
    res.status = status;
    res.set_content(page.constData(), size_t(page.size()), htmlType);
}

const char *const formFields[][2] = {
    {"firmaadi", "Firma Adı"}, {"yetkili", "Yetkili"}, {"adres1", "Adres 1"}, {"adres2", "Adres 2"}, {"ilce", "İlçe"},
    {"sehir", "Şehir"}, {"telefon", "Telefon"}, {"fax", "Faks"}, {"vd", "Vergi Dairesi"}, {"vn", "Vergi No"},
    {"kullaniciadi", "Kullanıcı Adı"}, {"mail", "E-posta"}, {"kargoambar", "Kargo / Ambar"}};

} // namespace

void registerWeb(httplib::Server &http, const Settings &settings)
{
    http.Get("/resimgoster.ashx", [](const httplib::Request &req, httplib::Response &res) {
        bool ok = false;
        const int id = q(req, "id").toInt(&ok);
        QSqlQuery row;
        try {
            if (ok)
                row = run(QStringLiteral("SELECT r.tip, r.veri FROM stoklar s JOIN resimler r ON r.resim_no = s.resim_no "
                                         "WHERE s.stokno = ?"), {id});
        } catch (const ApiError &) {
            ok = false;
        }
        if (!ok || !row.next()) {
            res.status = 404;
            res.set_content("Resim yok", "text/plain; charset=utf-8");
            return;
        }
        const QByteArray data = row.value(1).toByteArray();
        res.set_content(data.constData(), size_t(data.size()), row.value(0).toString().toStdString());
    });

    http.Get("/formmailgonder.aspx", [](const httplib::Request &req, httplib::Response &res) {
        QString body = QStringLiteral("<p>Bayi kullanıcı isteğinizi bu formla iletebilirsiniz.</p>"
                                      "<form method=\"post\" action=\"/formmailgonder.aspx\">"
                                      "<input type=\"hidden\" name=\"carino\" value=\"%1\">"
                                      "<input type=\"hidden\" name=\"kullanici\" value=\"%2\">"
                                      "<input type=\"hidden\" name=\"id\" value=\"%3\">")
                           .arg(esc(q(req, "carino")), esc(q(req, "kullanici")), esc(q(req, "id")));
        for (const auto &f : formFields)
            body += QStringLiteral("<label>%1 <input name=\"%2\"></label>").arg(QString::fromUtf8(f[1]), QLatin1String(f[0]));
        body += QStringLiteral("<label>Mesaj <textarea name=\"mesaj\" rows=\"4\"></textarea></label>"
                               "<button type=\"submit\">Gönder</button></form>");
        html(res, QStringLiteral("Kestro Yedek Parça B2B İstek Formu"), body);
    });
    http.Post("/formmailgonder.aspx", [](const httplib::Request &req, httplib::Response &res) {
        QJsonObject o;
        for (const char *key : {"carino", "kullanici", "id", "mesaj"})
            o.insert(QLatin1String(key), q(req, key));
        for (const auto &f : formFields)
            o.insert(QLatin1String(f[0]), q(req, f[0]));
        if (q(req, "firmaadi").trimmed().isEmpty()) {
            html(res, QStringLiteral("İstek Formu"), QStringLiteral("<p>Lütfen firma adını yazınız.</p>"), 400);
            return;
        }
        try {
            const int no = storeOutbox(QStringLiteral("web-istek"), q(req, "id"), QStringLiteral("B2B Web İstek Formu"),
                                       q(req, "firmaadi"), QStringLiteral("b2b@kestro.local"),
                                       QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
            html(res, QStringLiteral("İstek Formu"),
                 QStringLiteral("<p>İsteğiniz alındı (kayıt no %1). Teşekkür ederiz.</p>").arg(no));
        } catch (const ApiError &e) {
            html(res, QStringLiteral("İstek Formu"), QStringLiteral("<p>%1</p>").arg(esc(e.text())), 500);
        }
    });
    http.Get("/moravikart.html", [](const httplib::Request &req, httplib::Response &res) {
        html(res, QStringLiteral("Sanal POS Ödeme"),
             QStringLiteral("<p><b>Bu bir tanıtım sayfasıdır; ödeme alınmaz.</b></p><table>"
                            "<tr><td>Cari No</td><td>%1</td></tr><tr><td>Şube</td><td>%2</td></tr>"
                            "<tr><td>Firma</td><td>%3</td></tr><tr><td>Bakiye</td><td>%4 TL</td></tr></table>")
                 .arg(esc(q(req, "carino")), esc(q(req, "sube")), esc(q(req, "firmasi")), esc(q(req, "bakiye"))));
    });
    http.Get("/ip", [](const httplib::Request &req, httplib::Response &res) {
        res.set_content(req.remote_addr, "text/plain; charset=utf-8");
    });
    const QString folder = settings.setupFolder;
    http.Get("/exe/KestroSetup.exe", [folder](const httplib::Request &, httplib::Response &res) {
        QFile f(QDir(folder).filePath(QStringLiteral("KestroSetup.exe")));
        if (folder.isEmpty() || !f.open(QIODevice::ReadOnly)) {
            res.status = 404;
            res.set_content("Kurulum dosyası yok", "text/plain; charset=utf-8");
            return;
        }
        const QByteArray data = f.readAll();
        res.set_content(data.constData(), size_t(data.size()), "application/octet-stream");
    });
}

} // namespace kestro::server
