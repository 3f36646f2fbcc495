// Table decoding into the dataset, its encoding, the stream rule and the
// dataset operations the tabs rely on.
#include "bytestream.h"
#include "helpers.h"
#include "numberformat.h"
#include "tablecodec.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QJsonDocument>
#include <QtTest>

using namespace kestro;

class TestTables : public QObject
{
    Q_OBJECT
private slots:
    void decodesEveryColumnType()
    {
        const QByteArray json = R"({"table":[
            ["A",1,0,0,0,10,0,0,true,false,0,false,false],["D",2],["B",3],["L",4],["S",5],["I",6],
            ["F",7],["BC",8],["DT",11],["I64",18],["TS",24],["CUR",25],["W",26]],
            "A":["abc",null],"D":["2026-12-11",null],"B":["aGVsbG8=",null],"L":[true,false],
            "S":[-3,null],"I":[120,7],"F":[1234.5,null],"BC":[10.25,1],"DT":["2026-12-11T14:30:00",null],
            "I64":[9007199254740993,null],"TS":["2026-01-02T03:04:05",null],"CUR":[99.99,null],
            "W":["YAĞ FİLTRESİ",""]})";
        DataSet d;
        decodeTable(json, d);
        QCOMPARE(d.rowCount(), 2);
        QCOMPARE(d.fieldCount(), 13);
        QCOMPARE(d.fieldType(d.fieldIndex("F")), FieldType::Float);
        QCOMPARE(d.fieldType(d.fieldIndex("CUR")), FieldType::Currency);
        QCOMPARE(d.value(0, d.fieldIndex("A")).toString(), QStringLiteral("abc"));
        QCOMPARE(d.value(0, d.fieldIndex("D")).toDate(), QDate(2026, 12, 11));
        QCOMPARE(d.value(0, d.fieldIndex("B")).toByteArray(), QByteArray("hello"));
        QCOMPARE(d.value(0, d.fieldIndex("L")).toBool(), true);
        QCOMPARE(d.value(1, d.fieldIndex("L")).toBool(), false);
        QCOMPARE(d.value(0, d.fieldIndex("S")).toInt(), -3);
        QCOMPARE(d.value(1, d.fieldIndex("I")).toInt(), 7);
        QCOMPARE(d.value(0, d.fieldIndex("F")).toDouble(), 1234.5);
        QCOMPARE(d.value(1, d.fieldIndex("BC")).toDouble(), 1.0);
        QCOMPARE(d.value(0, d.fieldIndex("DT")).toDateTime(), QDateTime(QDate(2026, 12, 11), QTime(14, 30)));
        QCOMPARE(d.value(0, d.fieldIndex("I64")).toLongLong(), 9007199254740993LL);
        QCOMPARE(d.value(0, d.fieldIndex("W")).toString(), QStringLiteral("YAĞ FİLTRESİ"));
        QVERIFY(d.isNull(1, d.fieldIndex("A")));
        QVERIFY(!d.value(1, d.fieldIndex("F")).isValid());
        QVERIFY(!d.isNull(1, d.fieldIndex("W"))); // an empty text is not null
        QCOMPARE(d.currentRow(), 0);
    }

    void roundTripThroughEncoder()
    {
        DataSet d;
        d.addField("STOK_STOKNO", FieldType::Int32);
        d.addField("STOKADI", FieldType::WideString);
        d.addField("FIYAT", FieldType::Float);
        d.addField("SEC", FieldType::Boolean);
        for (int i = 0; i < 3; ++i) {
            const int r = d.appendRow();
            d.setValue(r, 0, i + 1);
            d.setValue(r, 1, QStringLiteral("Fren \"Balata\"\n%1\\ç").arg(i));
            d.setValue(r, 2, i == 1 ? QVariant() : QVariant(0.1 * (i + 1)));
            d.setValue(r, 3, i == 2);
        }
        DataSet back;
        decodeTable(encodeTable(d), back);
        QCOMPARE(back.rowCount(), 3);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(back.value(r, c), d.value(r, c));
    }

    void textsSurviveEncoding_data()
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

    void textsSurviveEncoding()
    {
        QFETCH(QString, text);
        DataSet t;
        t.addField(QStringLiteral("ADI"), FieldType::WideString);
        t.addField(text.isEmpty() ? QStringLiteral("X") : text, FieldType::String); // in a column name too
        for (int i = 0; i < 3; ++i) {
            const int r = t.appendRow();
            t.setValue(r, 0, text);
            if (i != 1)
                t.setValue(r, 1, text + QString::number(i));
        }
        QByteArray json("prefix,");
        encodeTable(t, json);
        QVERIFY(json.startsWith("prefix,{"));
        const QByteArray table = json.mid(7);
        QJsonParseError pe{};
        QJsonDocument::fromJson(table, &pe);
        QCOMPARE(pe.error, QJsonParseError::NoError);
        DataSet back;
        decodeTable(table, back);
        const QString expected = QString::fromUtf8(text.toUtf8()); // lone surrogates become U+FFFD
        QCOMPARE(back.value(0, 0).toString(), expected);
        QCOMPARE(back.value(2, 1).toString(), expected + QStringLiteral("2"));
        QVERIFY(back.isNull(1, 1));
    }

    void malformedTablesRaiseAndLeaveEmpty_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("unequal lengths") << QByteArray(R"({"table":[["A",6],["B",6]],"A":[1,2],"B":[1]})");
        QTest::newRow("missing column") << QByteArray(R"({"table":[["A",6],["B",6]],"A":[1,2]})");
        QTest::newRow("unknown type") << QByteArray(R"({"table":[["A",99]],"A":[1]})");
        QTest::newRow("text in int column") << QByteArray(R"({"table":[["A",6]],"A":["x"]})");
        QTest::newRow("fraction in int column") << QByteArray(R"({"table":[["A",6]],"A":[1.5]})");
        QTest::newRow("number in text column") << QByteArray(R"({"table":[["A",26]],"A":[5]})");
        QTest::newRow("truncated") << QByteArray(R"({"table":[["A",6]],"A":[1,2,)");
        QTest::newRow("not json") << QByteArray("<html>");
        QTest::newRow("columns before descriptors") << QByteArray(R"({"A":[1],"table":[["A",6]]})");
        QTest::newRow("duplicate descriptor") << QByteArray(R"({"table":[["A",6],["A",6]],"A":[1]})");
        QTest::newRow("empty") << QByteArray();
    }

    void malformedTablesRaiseAndLeaveEmpty()
    {
        QFETCH(QByteArray, json);
        DataSet d;
        d.addField("OLD", FieldType::Int32);
        d.appendRow();
        QVERIFY_THROWS_EXCEPTION(TableError, decodeTable(json, d));
        QCOMPARE(d.rowCount(), 0);
        QCOMPARE(d.fieldCount(), 0);
    }

    void mutatedTablesNeverCrash()
    {
        // Every mutation of a good answer either decodes to equal-length columns or raises.
        DataSet good;
        good.addField("STOK_STOKNO", FieldType::Int32);
        good.addField("ADI", FieldType::WideString);
        good.addField("FIYAT", FieldType::Float);
        good.addField("SEC", FieldType::Boolean);
        for (int i = 0; i < 20; ++i) {
            const int r = good.appendRow();
            good.setValue(r, 0, i);
            good.setValue(r, 1, QStringLiteral("YAĞ FİLTRESİ \"%1\"").arg(i));
            good.setValue(r, 2, i * 1.25);
            good.setValue(r, 3, i % 2 == 0);
        }
        const QByteArray base = "{\"result\":[" + encodeTable(good) + "]}";
        QRandomGenerator rng(20261211);
        int decoded = 0;
        for (int n = 0; n < 3000; ++n) {
            QByteArray m = base;
            for (int k = rng.bounded(1, 4); k > 0; --k) {
                const int at = rng.bounded(int(m.size()));
                switch (rng.bounded(3)) {
                case 0: m[at] = char(rng.bounded(256)); break;
                case 1: m.remove(at, rng.bounded(1, 8)); break;
                case 2: m.insert(at, m.mid(rng.bounded(int(m.size())), rng.bounded(1, 12))); break;
                }
            }
            DataSet d;
            try {
                decodeTableAnswer(m, d);
                ++decoded;
                for (int c = 0; c < d.fieldCount(); ++c)
                    QCOMPARE(int(d.column(c).size()), d.rowCount());
            } catch (const TableError &) {
                QCOMPARE(d.rowCount(), 0);
            }
        }
        QVERIFY(decoded > 0); // some mutations (inside texts) still decode
    }

    void callAnswerWithTableOrError()
    {
        DataSet d;
        decodeTableAnswer(R"({"result":[{"table":[["A",6]],"A":[4,5]}]})", d);
        QCOMPARE(d.rowCount(), 2);
        try {
            decodeTableAnswer(R"({"error":"Oturum geçersiz"})", d);
            QFAIL("no error raised");
        } catch (const TableError &e) {
            QCOMPARE(e.text(), QStringLiteral("Oturum geçersiz"));
        }
        QVERIFY_THROWS_EXCEPTION(TableError, decodeTableAnswer(R"({"result":[1]})", d));
        QVERIFY_THROWS_EXCEPTION(TableError, decodeTableAnswer(R"({"result":[]})", d));
    }

    void streamKeptOnlyWhenSizeMatches_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<qint64>("announced");
        QTest::addColumn<bool>("kept");
        QTest::newRow("exact, short") << 100 << qint64(100) << true;
        QTest::newRow("exact, one block") << 1024 << qint64(1024) << true;
        QTest::newRow("exact, several blocks") << 5000 << qint64(5000) << true;
        QTest::newRow("shorter than announced") << 3000 << qint64(4096) << false;
        QTest::newRow("longer than announced") << 3000 << qint64(2048) << false;
        QTest::newRow("size zero") << 10 << qint64(0) << false;
    }

    void streamKeptOnlyWhenSizeMatches()
    {
        QFETCH(int, bytes);
        QFETCH(qint64, announced);
        QFETCH(bool, kept);
        QByteArray data(bytes, 'x');
        data[0] = '\0';
        QBuffer buf(&data);
        buf.open(QIODevice::ReadOnly);
        const QByteArray got = readStreamBlocks(buf, announced);
        QCOMPARE(got.size(), kept ? bytes : 0);
        if (kept)
            QCOMPARE(got, data);
    }

    void streamJsonRejectsNonBytes()
    {
        QCOMPARE(streamFromJson(QJsonArray{0, 255, 65}), QByteArray("\x00\xff" "A", 3));
        QVERIFY_THROWS_EXCEPTION(Error, streamFromJson(QJsonArray{256}));
        QVERIFY_THROWS_EXCEPTION(Error, streamFromJson(QJsonArray{QStringLiteral("a")}));
        QVERIFY_THROWS_EXCEPTION(Error, streamFromJson(QJsonValue(3)));
    }

    void locateEditPostAndEmpty()
    {
        DataSet d;
        d.addField("SIRANO", FieldType::Int32);
        d.addField("MIKTAR", FieldType::Float);
        for (int i = 0; i < 4; ++i) {
            const int r = d.appendRow();
            d.setValue(r, 0, 10 + i);
            d.setValue(r, 1, 1.0);
        }
        QVERIFY(d.locate("SIRANO", 12));
        QCOMPARE(d.currentRow(), 2);
        QVERIFY(!d.locate("SIRANO", 99));
        QCOMPARE(d.currentRow(), 2);
        d.edit();
        d.setField("MIKTAR", 5.0);
        QCOMPARE(d.asDouble(2, 1), 1.0); // not stored before post
        d.post();
        QCOMPARE(d.asDouble(2, 1), 5.0);
        d.edit();
        d.setField("MIKTAR", 7.0);
        d.cancel();
        QCOMPARE(d.fieldDouble("MIKTAR"), 5.0);
        d.emptyRows();
        QVERIFY(d.isEmpty());
        QCOMPARE(d.fieldCount(), 2);
    }

    void floatFieldsOnlyGetMoneyFormat()
    {
        DataSet d;
        d.addField("ADET", FieldType::Int32);
        d.addField("AD", FieldType::WideString);
        d.addField("TUTAR", FieldType::Float);
        d.addField("PARA", FieldType::Currency);
        d.addField("BCD", FieldType::Bcd);
        const int r = d.appendRow();
        d.setValue(r, 0, 1234);
        d.setValue(r, 2, 1234.5);
        d.setValue(r, 3, 1234.5);
        FloatAlanlariBicimle(d);
        QCOMPARE(d.displayFormat(2), QStringLiteral("#,###,##0.00"));
        QVERIFY(d.displayFormat(0).isEmpty());
        QVERIFY(d.displayFormat(1).isEmpty());
        QVERIFY(d.displayFormat(3).isEmpty());
        QVERIFY(d.displayFormat(4).isEmpty());
        QCOMPARE(d.displayText(r, 2), QStringLiteral("1.234,50"));
        QCOMPARE(d.displayText(r, 0), QStringLiteral("1234"));
    }

    void seciliVarmi_data()
    {
        QTest::addColumn<QList<int>>("sec");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty") << QList<int>{} << false;
        QTest::newRow("none selected") << QList<int>{0, 0, 0} << false;
        QTest::newRow("one among many") << QList<int>{0, 0, 1, 0} << true;
    }

    void seciliVarmi()
    {
        QFETCH(QList<int>, sec);
        QFETCH(bool, expected);
        DataSet d;
        d.addField("SEC", FieldType::Int32);
        for (int v : sec)
            d.setValue(d.appendRow(), 0, v);
        QCOMPARE(SeciliVarmi(d), expected);
        if (expected)
            QCOMPARE(d.fieldInt("SEC"), 1); // the cursor stays on the row found
        DataSet closed;
        QVERIFY(!SeciliVarmi(closed));
    }
};

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
