#include "cli/batch_run.h"
#include "cli/cli_options.h"

#include <QGuiApplication>
#include <csignal>
#include <iostream>
#include <memory>

namespace {

// Qt's notes about its standard folders (a missing XDG_RUNTIME_DIR on servers and in containers)
// concern folders this tool never uses; on every run they would only bury the real messages.
void ForwardQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg && message.startsWith("QStandardPaths: ")) {
        return;
    }
    std::cerr << message.toStdString() << '\n';
}

// Whether the command line asks for a result with text (the key or the chart), before any "--".
bool DrawsText(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) {
            return false;
        }
        for (const QLatin1String option : {QLatin1String("--key"), QLatin1String("--chart")}) {
            if (argument == option || argument.startsWith(option + QLatin1Char('='))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // A reader that goes away (`| head`) must not end the run before the files are written; a
    // failed console write is then only a lost line.
    std::signal(SIGPIPE, SIG_IGN);
    // The tool draws off screen and must run where there is no display at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ForwardQtMessage);
    // Qt would take options of its own (-platform, -reverse, ...) out of the command line, even
    // picture names after "--"; it gets only the program's name, and the tool reads the rest.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    int qtArgc = 1;
    // Only the key and the chart have text. Without them the tool needs no fonts and no window
    // system, whose start-up would cost several times the rest of a small job.
    std::unique_ptr<QCoreApplication> app;
    if (DrawsText(arguments)) {
        app = std::make_unique<QGuiApplication>(qtArgc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(qtArgc, argv);
    }

    const pelvano::CliParseResult parsed = pelvano::ParseCliOptions(arguments);
    switch (parsed.action) {
    case pelvano::CliParseResult::Action::ShowHelp:
    case pelvano::CliParseResult::Action::ShowVersion:
        // Asked for text only: text that could not be written is a failure.
        std::cout << parsed.text.toStdString() << '\n' << std::flush;
        return std::cout ? pelvano::kExitOk : pelvano::kExitFileError;
    case pelvano::CliParseResult::Action::Fail:
        std::cerr << parsed.text.toStdString() << "\nСправка: pelvano-cli --help\n";
        return pelvano::kExitUsage;
    case pelvano::CliParseResult::Action::Run:
        break;
    }
    return pelvano::RunBatch(parsed.options, std::cout, std::cerr);
}
