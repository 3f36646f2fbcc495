// Report and receipt PDF files, made on request.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace kestro::server {

struct DateRange
{
    QString from, to; // ISO dates, inclusive
};

// Dates travel as days since 1899-12-30; raises ApiError for absurd values or a reversed range.
DateRange dateRange(double tarih1, double tarih2);

// A simple paginated document: a title, lines of text, then tables.
struct PdfTable
{
    QStringList headers;
    std::vector<int> rightAligned; // column indexes
    std::vector<QStringList> rows;
    QStringList footer;
};

struct PdfDocument
{
    QString title;
    QStringList lines;
    std::vector<std::pair<QString, PdfTable>> tables;
};

QByteArray renderPdf(const PdfDocument &doc);

} // namespace kestro::server
