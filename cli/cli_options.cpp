#include "cli/cli_options.h"

#include "engine/real.h"
#include "engine/thread_amount.h"
#include "io/file_identity.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <array>

namespace pelvano {
namespace {

struct SwitchPair {
    QString on;
    QString off;
    bool CliOptions::*flag;
};

const std::array<SwitchPair, 4> kSwitches{{
    {"grid", "no-grid", &CliOptions::grid},
    {"symbols", "no-symbols", &CliOptions::symbols},
    {"texture", "no-texture", &CliOptions::texture},
    {"color", "no-color", &CliOptions::color},
}};

struct MasterOption {
    QString name;
    SizeField field;
};

const std::array<MasterOption, 4> kMasters{{
    {"width-mm", SizeField::Width},
    {"height-mm", SizeField::Height},
    {"columns", SizeField::Columns},
    {"rows", SizeField::Rows},
}};

const QStringList kValueOptions{"width-mm",     "height-mm", "columns", "rows",       "cross-width",
                                "cross-height", "limit",     "pattern", "key",        "exact",
                                "threads",      "chart",     "paper",   "chart-cell", "strands"};

void AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Превращает картинку (BMP, JPEG, PNG, GIF, TIFF или WebP) в схему для вышивки крестиком.\n"
        "Размер задаётся одним из параметров --width-mm, --height-mm, --columns, --rows;\n"
        "остальные вычисляются по пропорциям картинки и размеру крестика.\n"
        "Коды выхода: 0 готово, 1 ошибка файла, 2 неверные параметры, 3 схема не построена.");
    parser.addPositionalArgument("picture", "Картинка BMP, JPEG, PNG, GIF, TIFF или WebP.",
                                 "PICTURE");
    parser.addOptions({
        {"width-mm", "Ширина вышивки, мм (по умолчанию 150).", "N"},
        {"height-mm", "Высота вышивки, мм.", "N"},
        {"columns", "Число столбцов (крестиков по ширине).", "N"},
        {"rows", "Число строк (крестиков по высоте).", "N"},
        {"cross-width", "Ширина крестика, мм: 0,01..10 (по умолчанию 1,7).", "MM"},
        {"cross-height", "Высота крестика, мм: 0,01..10 (по умолчанию 1,7).", "MM"},
        {"limit", "Ограничить число оттенков (по умолчанию 30).", "N"},
        {"no-limit", "Не ограничивать число оттенков."},
        {"perceptual",
         "Цвет по восприятию: усреднение в линейном свете, подбор ниток по CIEDE2000."},
        {"clean-confetti", "Убрать одиночные крестики."},
        {"grid", "Рисовать сетку (по умолчанию)."},
        {"no-grid", "Не рисовать сетку."},
        {"symbols", "Рисовать значки (по умолчанию)."},
        {"no-symbols", "Не рисовать значки."},
        {"texture", "Реалистичные стежки, когда значки не рисуются (по умолчанию)."},
        {"no-texture", "Без реалистичных стежков."},
        {"color", "Отображать цвет под значками (по умолчанию)."},
        {"no-color", "Белые клетки под значками."},
        {"pattern", "Сохранить схему: .bmp, .jpg или .jpeg.", "FILE"},
        {"key", "Сохранить ключ: .bmp, .jpg или .jpeg.", "FILE"},
        {"exact", "Сохранить точную сетку: .bmp, .jpg или .jpeg.", "FILE"},
        {"threads", "Сохранить список ниток в CSV.", "FILE.csv"},
        {"chart", "Сохранить схему для вышивания: многостраничный PDF.", "FILE.pdf"},
        {"oxs", "Сохранить схему в формате OXS для других программ.", "FILE.oxs"},
        {"fabric-count", "Канва: N крестиков на дюйм; задаёт оба размера крестика (25,4 / N мм).",
         "N"},
        {"paper", "Бумага для схемы: a4 или letter (по умолчанию a4).", "a4|letter"},
        {"chart-cell", "Клетка схемы на бумаге, мм: 2..6 (по умолчанию 3).", "MM"},
        {"strands", "Нить в N сложений для расчёта ниток (по умолчанию 2, для крупной канвы 3).",
         "N"},
        {"chart-color", "Клетки схемы в цвете ниток."},
        {"quiet", "Не показывать ход работы и итоги."},
    });
}

// Integer size fields take up to five digits, as in the window.
bool IsSizeText(const QString& text) {
    if (text.isEmpty() || text.size() > 5) {
        return false;
    }
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

enum class CrossSizeProblem { None, NotANumber, OutOfRange };

// The window brings any typed size into range; here a size outside it is a mistake to report,
// not to correct silently.
CrossSizeProblem ReadCrossSize(const QString& typed, std::string& normalisedText) {
    QString text = typed;
    text.replace(u'.', u',');
    const std::string commaText = text.toStdString();
    const std::optional<Real> value = ParseCommaReal(commaText);
    const CrossSizeNormalisation normalised = NormaliseCrossSize(commaText);
    if (commaText.empty() || !value || !normalised.ok()) {
        return CrossSizeProblem::NotANumber;
    }
    const Real hundredths = *value * 100;
    if (!(hundredths >= 0 && hundredths <= 2 * kMaxCrossHundredths) ||
        RoundHalfUp(hundredths) < kMinCrossHundredths ||
        RoundHalfUp(hundredths) > kMaxCrossHundredths) {
        return CrossSizeProblem::OutOfRange;
    }
    normalisedText = normalised.text;
    return CrossSizeProblem::None;
}

CliParseResult Failure(QString text) {
    CliParseResult result;
    result.action = CliParseResult::Action::Fail;
    result.text = std::move(text);
    return result;
}

} // namespace

CliParseResult ParseCliOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    AddOptions(parser);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        return Failure(parser.errorText());
    }
    if (parser.isSet(help)) {
        return {CliParseResult::Action::ShowHelp, {}, parser.helpText()};
    }
    if (parser.isSet(version)) {
        const QString name =
            arguments.isEmpty() ? QString("pelvano-cli") : QFileInfo(arguments.first()).fileName();
        return {CliParseResult::Action::ShowVersion, {}, name + " " PELVANO_VERSION};
    }

    for (const QString& name : kValueOptions) {
        if (parser.values(name).size() > 1) {
            return Failure(QString("Параметр --%1 указан дважды.").arg(name));
        }
    }

    CliOptions options;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        return Failure(positional.isEmpty() ? QString("Не указана картинка.")
                                            : QString("Картинка должна быть одна."));
    }
    options.picture = positional.first();

    const MasterOption* master = nullptr;
    for (const MasterOption& candidate : kMasters) {
        if (!parser.isSet(candidate.name)) {
            continue;
        }
        if (master) {
            return Failure(QString("Размер задаётся одним параметром: --%1 или --%2.")
                               .arg(master->name, candidate.name));
        }
        master = &candidate;
    }
    if (master) {
        const QString value = parser.value(master->name);
        if (!IsSizeText(value)) {
            return Failure(QString("--%1: нужно целое число от 0 до 99999, а не '%2'.")
                               .arg(master->name, value));
        }
        options.master = master->field;
        options.masterText = value.toStdString();
    }

    for (auto [name, text] : {std::pair{"cross-width", &options.crossWidthText},
                              std::pair{"cross-height", &options.crossHeightText}}) {
        if (!parser.isSet(name)) {
            continue;
        }
        const QString value = parser.value(name);
        switch (ReadCrossSize(value, *text)) {
        case CrossSizeProblem::NotANumber:
            return Failure(QString("--%1: нужен размер в миллиметрах, например 1,7, а не '%2'.")
                               .arg(name, value));
        case CrossSizeProblem::OutOfRange:
            return Failure(QString("--%1: размер крестика должен быть от 0,01 до 10 мм, а не '%2'.")
                               .arg(name, value));
        case CrossSizeProblem::None:
            break;
        }
    }

    if (parser.isSet("fabric-count")) {
        if (parser.isSet("cross-width") || parser.isSet("cross-height")) {
            return Failure("Укажите либо --fabric-count, либо размеры крестика.");
        }
        QString text = parser.value("fabric-count");
        text.replace(u',', u'.');
        bool ok = false;
        const double count = text.toDouble(&ok);
        const std::int32_t hundredths =
            ok && count < 100000 ? FabricCrossHundredths(static_cast<Real>(count)) : 0;
        if (hundredths < kMinCrossHundredths || hundredths > kMaxCrossHundredths) {
            return Failure(QString("--fabric-count: нужно число крестиков на дюйм от 2,54 до 2540, "
                                   "а не '%1'.")
                               .arg(parser.value("fabric-count")));
        }
        options.crossWidthText = options.crossHeightText = CrossSizeText(hundredths);
    }

    if (parser.isSet("limit") && parser.isSet("no-limit")) {
        return Failure("Укажите либо --limit, либо --no-limit.");
    }
    if (parser.isSet("limit")) {
        const QString value = parser.value("limit");
        if (!ParseInteger(value.toStdString())) {
            return Failure(QString("--limit: нужно целое число, а не '%1'.").arg(value));
        }
        options.shadeLimitText = value.toStdString();
    }
    options.limitShades = !parser.isSet("no-limit");
    options.perceptual = parser.isSet("perceptual");
    options.cleanConfetti = parser.isSet("clean-confetti");

    for (const SwitchPair& pair : kSwitches) {
        if (parser.isSet(pair.on) && parser.isSet(pair.off)) {
            return Failure(QString("Укажите либо --%1, либо --%2.").arg(pair.on, pair.off));
        }
        options.*pair.flag = !parser.isSet(pair.off);
    }

    QStringList written;
    for (auto [name, target] :
         {std::pair{"pattern", &options.pattern}, std::pair{"key", &options.key},
          std::pair{"exact", &options.exact}}) {
        if (!parser.isSet(name)) {
            continue;
        }
        const QString path = parser.value(name);
        const std::optional<PictureFormat> format = FormatFromExtension(path);
        if (!format) {
            return Failure(QString("--%1: файл должен иметь расширение .bmp, .jpg или .jpeg: '%2'.")
                               .arg(name, path));
        }
        *target = OutputPicture{path, *format};
        written << path;
    }
    if (parser.isSet("threads")) {
        options.threadsCsv = parser.value("threads");
        if (options.threadsCsv.isEmpty()) {
            return Failure("--threads: не указано имя файла.");
        }
        written << options.threadsCsv;
    }
    if (parser.isSet("oxs")) {
        options.oxs = parser.value("oxs");
        if (!options.oxs.endsWith(QLatin1String(".oxs"), Qt::CaseInsensitive)) {
            return Failure(
                QString("--oxs: файл должен иметь расширение .oxs: '%1'.").arg(options.oxs));
        }
        written << options.oxs;
    }
    if (parser.isSet("chart")) {
        options.chart = parser.value("chart");
        if (!options.chart.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            return Failure(
                QString("--chart: файл должен иметь расширение .pdf: '%1'.").arg(options.chart));
        }
        written << options.chart;
    }
    // Each result gets a file of its own, and none replaces the picture it was made from, also
    // when a link or another spelling of the path leads there.
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (SameFile(written[i], options.picture)) {
            return Failure(
                QString("Результат записался бы поверх картинки: '%1'.").arg(written[i]));
        }
        for (qsizetype j = i + 1; j < written.size(); ++j) {
            if (SameFile(written[i], written[j])) {
                return Failure(QString("Два результата в один файл: '%1'.").arg(written[j]));
            }
        }
    }

    if (parser.isSet("paper")) {
        const QString paper = parser.value("paper").toLower();
        if (paper != QLatin1String("a4") && paper != QLatin1String("letter")) {
            return Failure(
                QString("--paper: a4 или letter, а не '%1'.").arg(parser.value("paper")));
        }
        options.letterPaper = paper == QLatin1String("letter");
    }
    if (parser.isSet("chart-cell")) {
        QString text = parser.value("chart-cell");
        text.replace(u',', u'.');
        bool ok = false;
        const double cell = text.toDouble(&ok);
        if (!ok || !(cell >= 2 && cell <= 6)) {
            return Failure(QString("--chart-cell: клетка от 2 до 6 мм, а не '%1'.")
                               .arg(parser.value("chart-cell")));
        }
        options.chartCellMm = cell;
    }
    if (parser.isSet("strands")) {
        bool ok = false;
        const int strands = parser.value("strands").toInt(&ok);
        if (!ok || strands < 1 || strands > 6) {
            return Failure(
                QString("--strands: от 1 до 6 сложений, а не '%1'.").arg(parser.value("strands")));
        }
        options.strands = strands;
    }
    options.chartColour = parser.isSet("chart-color");

    options.quiet = parser.isSet("quiet");
    return {CliParseResult::Action::Run, std::move(options), {}};
}

} // namespace pelvano
