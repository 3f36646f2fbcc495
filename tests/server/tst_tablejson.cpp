// The server's table writer against the generic encoder: the same bytes.
#include "tablecodec.h"
#include "tablejson.h"

#include <QtTest>

using namespace kestro;

class TestTableJson : public QObject
{
    Q_OBJECT
private slots:
    void textsAsTheEncoder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << QStringLiteral("16-07 YAG FILTRESI");
        QTest::newRow("turkish") << QStringLiteral("YAĞ FİLTRESİ şıçöü");
        QTest::newRow("three-byte") << QStringLiteral("€ ₺ 漢");
        QTest::newRow("escapes") << QStringLiteral("a\"b\\c\nd\re\tf/g");
        QTest::newRow("controls") << QString(QStringLiteral("x%1y%2z")).arg(QChar(1)).arg(QChar(0x1f));
        QTest::newRow("del") << QString(QChar(0x7f));
        QTest::newRow("pair") << QString::fromUtf8("motor \xF0\x9F\x9A\x97");
        QTest::newRow("lone high") << QString(QStringLiteral("a%1b")).arg(QChar(0xD83D));
        QTest::newRow("lone low") << QString(QStringLiteral("a%1")).arg(QChar(0xDE97));
    }
    void textsAsTheEncoder()
    {
        QFETCH(QString, text);
        DataSet t;
        t.addField(QStringLiteral("ADI"), FieldType::WideString);
        t.addField(text.isEmpty() ? QStringLiteral("X") : text, FieldType::String);
        t.setOpen(true);
        for (int i = 0; i < 3; ++i) {
            const int r = t.appendRow();
            t.setValue(r, 0, text);
            if (i != 1)
                t.setValue(r, 1, text + QString::number(i));
        }
        QByteArray mine("prefix,");
        server::appendTableJson(t, mine);
        QCOMPARE(mine, QByteArray("prefix,") + encodeTable(t));
    }

    void everyKindAsTheEncoder()
    {
        DataSet t;
        const FieldType kinds[] = {FieldType::Int32, FieldType::Int64, FieldType::Boolean, FieldType::Float,
                                   FieldType::Currency, FieldType::Date, FieldType::Blob, FieldType::WideString};
        for (FieldType k : kinds)
            t.addField(QStringLiteral("F%1").arg(int(k)), k);
        t.setOpen(true);
        const QVariantList values[] = {
            {0, qint64(-9007199254740993LL), true, 0.1, 1e21, QStringLiteral("2026-12-11"), QByteArray("\x00\xff", 2),
             QStringLiteral("Ç")},
            {-7, 0, false, -0.0, 123456.785, QString(), QByteArray(), QString()},
            {2147483647, 42, true, 1e-7, 100000.0, QStringLiteral("x"), QByteArray("abc"), QStringLiteral("\"")},
        };
        for (const QVariantList &row : values) {
            const int r = t.appendRow();
            for (int c = 0; c < row.size(); ++c)
                t.setValue(r, c, row.at(c));
        }
        t.appendRow(); // all null
        t.setValue(3, 3, std::numeric_limits<double>::infinity());
        QByteArray mine;
        server::appendTableJson(t, mine);
        QCOMPARE(mine, encodeTable(t));
        DataSet none;
        none.addField(QStringLiteral("A"), FieldType::Int32);
        mine.clear();
        server::appendTableJson(none, mine);
        QCOMPARE(mine, encodeTable(none));
    }
};

QTEST_GUILESS_MAIN(TestTableJson)
#include "tst_tablejson.moc"
