#pragma once

#include "engine/size_calculator.h"
#include "io/picture_export.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace pelvano {

// A picture file to write, with the format its extension asks for.
struct OutputPicture {
    QString path;
    PictureFormat format = PictureFormat::Bmp;
};

// One batch run. The defaults are those of the window's first start.
struct CliOptions {
    QString picture;

    // The one size the user gives; the other three follow from it as in the window.
    SizeField master = SizeField::Width;
    std::string masterText = "150";
    // Cross sizes as the window's cross fields show them after normalisation ("1,7").
    std::string crossWidthText = "1,7";
    std::string crossHeightText = "1,7";

    std::string shadeLimitText = "30";
    bool limitShades = true;

    // The generation's optional modes (GenerationRequest::perceptual and cleanConfetti).
    bool perceptual = false;
    bool cleanConfetti = false;

    bool grid = true;
    bool symbols = true;
    bool texture = true;
    bool color = true;

    std::optional<OutputPicture> pattern;
    std::optional<OutputPicture> key;
    std::optional<OutputPicture> exact;
    QString threadsCsv;

    // The pattern for other pattern editors (Open Cross Stitch).
    QString oxs;

    // The chart to stitch from (PDF) and how it is laid out.
    QString chart;
    bool letterPaper = false;
    double chartCellMm = 3;
    int strands = 0; // 0: by the cross size
    bool chartColour = false;

    bool quiet = false;
};

struct CliParseResult {
    enum class Action { Run, ShowHelp, ShowVersion, Fail };
    Action action = Action::Fail;
    CliOptions options; // meaningful for Run
    QString text;       // the help or version text, or the error for Fail
};

// Reads the command line (arguments[0] is the program). Checks everything that can be checked
// without the picture, so that a typing mistake fails before any work is done.
CliParseResult ParseCliOptions(const QStringList& arguments);

} // namespace pelvano
