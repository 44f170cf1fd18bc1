#include "cli/batch_run.h"
#include "cli/cli_options.h"

#include <QGuiApplication>
#include <iostream>

namespace {

// Qt's notes about its standard folders (a missing XDG_RUNTIME_DIR on servers and in containers)
// concern folders this tool never uses; on every run they would only bury the real messages.
void ForwardQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg && message.startsWith("QStandardPaths: ")) {
        return;
    }
    std::cerr << message.toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    // The tool draws off screen and must run where there is no display at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ForwardQtMessage);
    QGuiApplication app(argc, argv);

    const pelvano::CliParseResult parsed = pelvano::ParseCliOptions(QCoreApplication::arguments());
    switch (parsed.action) {
    case pelvano::CliParseResult::Action::ShowHelp:
    case pelvano::CliParseResult::Action::ShowVersion:
        std::cout << parsed.text.toStdString() << '\n';
        return pelvano::kExitOk;
    case pelvano::CliParseResult::Action::Fail:
        std::cerr << parsed.text.toStdString() << "\nСправка: pelvano-cli --help\n";
        return pelvano::kExitUsage;
    case pelvano::CliParseResult::Action::Run:
        break;
    }
    return pelvano::RunBatch(parsed.options, std::cout, std::cerr);
}
