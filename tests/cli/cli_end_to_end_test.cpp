#include "../io/io_test_support.h"
#include "io/picture_input.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

const QString kCorpus = PELVANO_CORPUS_DIR;

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(PELVANO_CLI_PATH, arguments);
    EXPECT_TRUE(process.waitForFinished(120000))
        << PELVANO_CLI_PATH << ": " << process.errorString().toStdString();
    ToolRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

struct CsvTotals {
    int threads = 0;
    long long crosses = 0;
};

CsvTotals ReadThreadsCsv(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    CsvTotals totals;
    EXPECT_FALSE(lines.isEmpty());
    if (lines.isEmpty()) {
        return totals;
    }
    EXPECT_EQ(lines.first(), "symbol,name,red,green,blue,crosses,metres,skeins");
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(',');
        EXPECT_EQ(fields.size(), 8) << lines[i].toStdString();
        if (fields.size() != 8) {
            continue;
        }
        EXPECT_EQ(fields[0].toInt(), i - 1);
        EXPECT_TRUE(fields[1].startsWith('"') && fields[1].endsWith('"'));
        EXPECT_GE(fields[7].toInt(), 1);
        const long long crosses = fields[5].toLongLong();
        EXPECT_GT(crosses, 0);
        totals.crosses += crosses;
        ++totals.threads;
    }
    return totals;
}

QSize PictureSize(const QString& path) {
    const LoadedPicture loaded = LoadPicture(path);
    EXPECT_TRUE(loaded.ok()) << loaded.error.toStdString();
    return loaded.picture.size();
}

TEST(CliEndToEnd, WritesEveryResultOfASmallPhoto) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = dir.filePath("threads.csv");
    const ToolRun run = RunCli({kCorpus + "/photos/rose-70x46.bmp", "--columns", "40", "--pattern",
                                dir.filePath("pattern.bmp"), "--key", dir.filePath("key.jpg"),
                                "--exact", dir.filePath("exact.jpeg"), "--threads", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // 40 columns of 1.7 mm: 68 mm wide, 68 / (70/46) = 44.7 -> 45 mm high, 45 / 1.7 -> 26 rows.
    EXPECT_TRUE(run.out.contains("40 x 26")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Крестиков: 1.040"));
    EXPECT_TRUE(run.out.contains("Ширина: 68 мм"));
    EXPECT_TRUE(run.out.contains("Высота: 44 мм")); // 26 * 1.7 = 44.2

    EXPECT_EQ(PictureSize(dir.filePath("exact.jpeg")), QSize(9 * 40, 9 * 26));
    EXPECT_EQ(PictureSize(dir.filePath("key.jpg")), QSize(633, 895));
    EXPECT_GT(PictureSize(dir.filePath("pattern.bmp")).width(), 18 * 40);

    const CsvTotals totals = ReadThreadsCsv(csv);
    EXPECT_EQ(totals.crosses, 40 * 26);
    EXPECT_GE(totals.threads, 2);
    EXPECT_LE(totals.threads, 30);
    EXPECT_TRUE(run.out.contains(QString("Оттенков: %1 (из ").arg(totals.threads)))
        << run.out.toStdString();
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(CliEndToEnd, PatternStreamedToJpegHasTheBytesOfTheWholeImage) {
    // A JPEG pattern saved on its own is drawn band by band into the encoder; saved beside the
    // exact grid it comes from the whole image. Both must be the same file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList cases[] = {
        {kCorpus + "/photos/grace-hopper-512x600.jpg", "--columns", "61", "--limit", "12"},
        {kCorpus + "/photos/life-gray.jpg", "--rows", "45", "--no-grid", "--no-symbols"},
        {kCorpus + "/photos/rose-70x46.bmp", "--columns", "33", "--no-color"},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const QString streamed = dir.filePath("streamed.jpg");
        const QString whole = dir.filePath("whole.jpg");
        const ToolRun alone = RunCli(arguments + QStringList{"--quiet", "--pattern", streamed});
        ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
        const ToolRun both = RunCli(arguments + QStringList{"--quiet", "--pattern", whole,
                                                            "--exact", dir.filePath("exact.bmp")});
        ASSERT_EQ(both.exitCode, 0) << both.err.toStdString();
        const QByteArray bytes = FileBytes(streamed);
        EXPECT_GT(bytes.size(), 1000);
        EXPECT_TRUE(bytes == FileBytes(whole));
    }
}

TEST(CliEndToEnd, JpegWithoutLimitKeepsEveryShade) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = dir.filePath("threads.csv");
    const ToolRun run =
        RunCli({kCorpus + "/photos/grace-hopper-512x600.jpg", "--height-mm", "60", "--cross-width",
                "2.5", "--cross-height", "2,5", "--no-limit", "--no-symbols", "--pattern",
                dir.filePath("pattern.jpg"), "--threads", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // 60 mm high: 60 * 512/600 = 51.2 -> 51 mm wide; 51 / 2.5 = 20.4 -> 20 columns, 24 rows.
    EXPECT_TRUE(run.out.contains("20 x 24")) << run.out.toStdString();
    const CsvTotals totals = ReadThreadsCsv(csv);
    EXPECT_EQ(totals.crosses, 20 * 24);
    EXPECT_TRUE(run.out.contains(QString("Оттенков: %1 (из %1)").arg(totals.threads)))
        << run.out.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("pattern.jpg")));
}

TEST(CliEndToEnd, FailuresExitNonZeroAndWriteNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString rose = kCorpus + "/photos/rose-70x46.bmp";
    const QString pattern = dir.filePath("pattern.bmp");

    ToolRun run = RunCli({rose, "--columns", "1", "--pattern", pattern});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Слишком большой размер крестика\nили маленький размер "
                                 "вышивки. Поменяй циферки."))
        << run.err.toStdString();

    // Billions of cells: refused up front, not a crash or an attempt to allocate them.
    run = RunCli({rose, "--columns", "99999", "--pattern", pattern});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("99999")) << run.err.toStdString();

    run = RunCli({rose, "--limit", "1", "--pattern", pattern});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Количество оттенков должно быть больше 1"));

    run = RunCli({rose, "--pattern", dir.filePath("pattern.png")});
    EXPECT_EQ(run.exitCode, 2);

    run = RunCli({dir.filePath("missing.bmp"), "--pattern", pattern});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("missing.bmp")) << run.err.toStdString();

    run = RunCli({kCorpus + "/broken/bmp-named.jpg", "--pattern", pattern});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("JPEG error #")) << run.err.toStdString();

    EXPECT_FALSE(QFileInfo::exists(pattern));

    run = RunCli({rose, "--columns", "10", "--key", dir.filePath("no-such-folder/key.bmp")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("no-such-folder/key.bmp")) << run.err.toStdString();
    run = RunCli({rose, "--columns", "10", "--threads", dir.filePath("no-such-folder/t.csv")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("no-such-folder/t.csv")) << run.err.toStdString();

    // A successful quiet run says nothing at all.
    run = RunCli({rose, "--columns", "10", "--quiet"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out + run.err, "");
}

// The bundled sample through the tool, as scripts/run does it; the results are kept as PNG in the
// test output folder for a look.
TEST(CliEndToEnd, BundledSampleForReview) {
    const QString sample = PELVANO_SOURCE_DIR "/resources/sample/sample.bmp";
    EXPECT_EQ(PictureSize(sample), QSize(200, 150));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ToolRun run =
        RunCli({sample, "--pattern", dir.filePath("pattern.bmp"), "--key", dir.filePath("key.bmp"),
                "--exact", dir.filePath("exact.bmp"), "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char* name : {"pattern", "key", "exact"}) {
        const LoadedPicture loaded = LoadPicture(dir.filePath(QString(name) + ".bmp"));
        ASSERT_TRUE(loaded.ok()) << name;
        EXPECT_TRUE(
            loaded.picture.save(QString(PELVANO_TEST_OUTPUT_DIR "/cli-sample-%1.png").arg(name)));
    }
}

TEST(CliEndToEnd, ChartOnChosenPaperOrRefusedWithTooManyThreads) {
    QTemporaryDir dir;
    const QString photo = kCorpus + "/photos/grace-hopper-512x600.jpg";
    const QString chart = dir.filePath("chart.pdf");
    ToolRun run = RunCli({photo, "--columns", "60", "--quiet", "--chart", chart, "--paper",
                          "letter", "--chart-cell", "4", "--strands", "3", "--chart-color"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QProcess info;
    info.start("pdfinfo", {chart});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains("612 x 792 pts (letter)")) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Pages:\\s+[4-9]")));
    // More threads than symbols: refused as a matter of the settings, before anything is written.
    run = RunCli({photo, "--columns", "150", "--no-limit", "--quiet", "--chart",
                  dir.filePath("many.pdf"), "--key", dir.filePath("key.bmp")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("ограничьте число оттенков до 120"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("many.pdf")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("key.bmp")));
    EXPECT_EQ(RunCli({photo, "--chart", dir.filePath("c.pdf"), "--chart-cell", "7"}).exitCode, 2);
}

TEST(CliEndToEnd, PerceptualModeAndCleanUpSayTheirModeAndKeepTheExactRunAsItWas) {
    QTemporaryDir dir;
    const QString photo = kCorpus + "/photos/rose-70x46.bmp";
    ASSERT_EQ(RunCli({photo, "--quiet", "--threads", dir.filePath("exact.csv")}).exitCode, 0);
    ASSERT_EQ(RunCli({photo, "--quiet", "--perceptual", "--clean-confetti", "--threads",
                      dir.filePath("perceptual.csv"), "--pattern", dir.filePath("p.bmp")})
                  .exitCode,
              0);
    const QString exact = QString::fromUtf8(test::ReadBytes(dir.filePath("exact.csv")));
    const QString perceptual = QString::fromUtf8(test::ReadBytes(dir.filePath("perceptual.csv")));
    EXPECT_TRUE(exact.startsWith("symbol,name,"));
    EXPECT_TRUE(perceptual.startsWith("# режим: по восприятию, без одиночных крестиков\r\n"))
        << perceptual.left(80).toStdString();
    EXPECT_NE(exact, perceptual.mid(perceptual.indexOf("symbol,")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("p.bmp")));
}

TEST(CliEndToEnd, HelpAndVersion) {
    ToolRun run = RunCli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("--cross-width"));
    run = RunCli({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("pelvano-cli "));
}

} // namespace
} // namespace pelvano
