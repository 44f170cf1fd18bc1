#include "../io/io_test_support.h"
#include "cli/batch_run.h"
#include "io/picture_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace pelvano {
namespace {

using test::Corpus;
using test::ReadBytes;

struct Shell {
    int exitCode = -1;
    QString err;
};

// Runs a bash command with $0 set to the tool, so redirections and pipes can be set up.
Shell RunInShell(const QString& command, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start("bash", {"-c", command, PELVANO_CLI_PATH});
    EXPECT_TRUE(process.waitForFinished(60000)) << command.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(CliHostile, AJpegFailingAfterItsLastRowEndsCleanly) {
    // The sampler reads the rows on a second thread; the failure comes while it is still busy
    // with a large grid, and must not free the rows under it.
    QTemporaryDir folder;
    const QString picture = folder.filePath("late-failure.jpg");
    test::WriteBytes(
        picture, test::WithSecondFrameHeader(ReadBytes(Corpus("photos/grace-hopper-512x600.jpg"))));
    for (const char* columns : {"3000", "150", "1000", "3000"}) {
        CliOptions options;
        options.picture = picture;
        options.master = SizeField::Columns;
        options.masterText = columns;
        options.pattern = OutputPicture{folder.filePath("p.bmp"), PictureFormat::Bmp};
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunBatch(options, out, err), kExitFileError) << columns;
        EXPECT_EQ(err.str().rfind("JPEG error #", 0), 0u) << err.str();
        EXPECT_FALSE(QFileInfo::exists(folder.filePath("p.bmp")));
    }
}

TEST(CliHostile, TheConsoleAndQtNeverCostTheResults) {
    QTemporaryDir folder;
    const QString rose = Corpus("photos/rose-70x46.bmp");
    ASSERT_TRUE(QFile::copy(rose, folder.filePath("in.bmp")));

    // A reader that has gone away: the files are still written, and the run succeeds.
    Shell run = RunInShell("\"$0\" in.bmp --pattern p.bmp --key k.bmp | true; "
                           "exit ${PIPESTATUS[0]}",
                           folder.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("p.bmp")));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("k.bmp")));
    // Help that cannot be written is a failure.
    EXPECT_EQ(RunInShell("\"$0\" --help > /dev/full", folder.path()).exitCode, kExitFileError);

    // Names Qt would take for its own options are the tool's.
    const QImage card = test::TestCard(40, 30);
    ASSERT_EQ(SavePicture(card, folder.filePath("-reverse"), PictureFormat::Jpeg), QString());
    run = RunInShell("\"$0\" --quiet --exact e.bmp -- -reverse", folder.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("e.bmp")));
    EXPECT_EQ(RunInShell("\"$0\" in.bmp -platform xcb", folder.path()).exitCode, kExitUsage);

    // A pipe with no writer, and a device that never ends, are refused at once.
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.filePath("fifo.jpg")).constData(), 0600), 0);
    run = RunInShell("timeout 20 \"$0\" fifo.jpg; f=$?; \"$0\" /dev/zero; z=$?; "
                     "[ $f = 1 ] && [ $z = 1 ] && exit 1; exit 9",
                     folder.path());
    EXPECT_EQ(run.exitCode, kExitFileError) << run.err.toStdString();

    // A bitmap that could not hold the pattern is a matter of the sizes, found before drawing.
    run = RunInShell("\"$0\" in.bmp --columns 3000 --quiet --pattern huge.bmp", folder.path());
    EXPECT_EQ(run.exitCode, kExitRefused);
    EXPECT_TRUE(run.err.startsWith("Picture is too large for a bitmap file: 57901 × 38041"));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("huge.bmp")));
    EXPECT_TRUE(ReadBytes(folder.filePath("in.bmp")) == ReadBytes(rose));
}

} // namespace
} // namespace pelvano
