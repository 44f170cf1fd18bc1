#pragma once

#include "engine/pattern_data.h"

#include <QByteArray>
#include <QString>

namespace pelvano {

// The pattern in the Open Cross Stitch exchange format that other pattern editors read: a small
// UTF-8 XML file with the chart's size, its threads (the cloth first) and one full stitch per
// cell.

struct OxsSubject {
    QString title; // the picture's file name
    double crossWidthMm = 1.7;
    double crossHeightMm = 1.7;
    int strands = 2;
};

QByteArray OxsDocument(const PatternData& pattern, const OxsSubject& subject);

// Written whole or not at all, like the pictures. Returns "" or the message to show.
QString SaveOxs(const QString& path, const PatternData& pattern, const OxsSubject& subject);

} // namespace pelvano
