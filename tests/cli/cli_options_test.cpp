#include "cli/cli_options.h"
#include "cli/thread_list_csv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pelvano {
namespace {

CliParseResult Parse(QStringList arguments) {
    arguments.prepend("pelvano-cli");
    return ParseCliOptions(arguments);
}

CliOptions ParseOk(QStringList arguments) {
    const CliParseResult result = Parse(arguments);
    EXPECT_EQ(result.action, CliParseResult::Action::Run) << result.text.toStdString();
    return result.options;
}

bool Fails(QStringList arguments) {
    return Parse(arguments).action == CliParseResult::Action::Fail;
}

TEST(CliOptions, DefaultsAreTheWindowsFirstStart) {
    const CliOptions options = ParseOk({"photo.jpg"});
    EXPECT_EQ(options.picture, "photo.jpg");
    EXPECT_EQ(options.master, SizeField::Width);
    EXPECT_EQ(options.masterText, "150");
    EXPECT_EQ(options.crossWidthText, "1,7");
    EXPECT_EQ(options.crossHeightText, "1,7");
    EXPECT_EQ(options.shadeLimitText, "30");
    EXPECT_TRUE(options.limitShades);
    EXPECT_TRUE(options.grid && options.symbols && options.texture && options.color);
    EXPECT_FALSE(options.pattern || options.key || options.exact);
    EXPECT_TRUE(options.threadsCsv.isEmpty());
    EXPECT_FALSE(options.quiet);
}

TEST(CliOptions, ExactlyOneMasterSize) {
    CliOptions options = ParseOk({"a.bmp", "--columns", "80"});
    EXPECT_EQ(options.master, SizeField::Columns);
    EXPECT_EQ(options.masterText, "80");
    options = ParseOk({"--rows", "0", "a.bmp"});
    EXPECT_EQ(options.master, SizeField::Rows);
    EXPECT_EQ(options.masterText, "0");
    options = ParseOk({"a.bmp", "--height-mm=99999"});
    EXPECT_EQ(options.master, SizeField::Height);

    EXPECT_TRUE(Fails({"a.bmp", "--width-mm", "100", "--rows", "3"}));
    EXPECT_TRUE(Fails({"a.bmp", "--columns", "10", "--columns", "20"}));
    // The size fields take up to five digits and nothing else.
    for (const char* bad : {"", "abc", "-5", "+5", "123456", "1,5", " 7"}) {
        EXPECT_TRUE(Fails({"a.bmp", "--width-mm", bad})) << bad;
    }
}

TEST(CliOptions, CrossSizesAreNormalisedLikeTheWindowsField) {
    struct Case {
        const char* typed;
        const char* kept;
    };
    for (const Case& c :
         {Case{"2.5", "2,5"}, Case{"2,5", "2,5"}, Case{"10", "10"}, Case{"0,005", "0,01"},
          Case{".5", "0,5"}, Case{"1,", "1"}, Case{"1.234", "1,23"}}) {
        const CliOptions options = ParseOk({"a.bmp", "--cross-width", c.typed});
        EXPECT_EQ(options.crossWidthText, c.kept) << c.typed;
        EXPECT_EQ(options.crossHeightText, "1,7");
    }
    EXPECT_EQ(ParseOk({"a.bmp", "--cross-height", "3"}).crossHeightText, "3");
    for (const char* bad : {"x", "1.5.2", "-1", "1e2", ""}) {
        EXPECT_TRUE(Fails({"a.bmp", "--cross-height", bad})) << bad;
    }
    // A fabric count sets both sizes: 25.4 / 14 rounds to 1,81.
    CliOptions aida = ParseOk({"a.bmp", "--fabric-count", "14"});
    EXPECT_EQ(aida.crossWidthText, "1,81");
    EXPECT_EQ(aida.crossHeightText, "1,81");
    EXPECT_EQ(ParseOk({"a.bmp", "--fabric-count", "11"}).crossWidthText, "2,31");
    EXPECT_TRUE(Fails({"a.bmp", "--fabric-count", "0"}));
    EXPECT_TRUE(Fails({"a.bmp", "--fabric-count", "14", "--cross-width", "2"}));
    // The window would clamp these; typed on a command line they are refused, not changed.
    for (const char* outside : {"0", "0,004", "10,05", "25", "100"}) {
        EXPECT_EQ(Parse({"a.bmp", "--cross-width", outside}).text,
                  QString("--cross-width: размер крестика должен быть от 0,01 до 10 мм, а не '%1'.")
                      .arg(outside));
    }
}

TEST(CliOptions, LimitAndDrawingSwitches) {
    CliOptions options = ParseOk({"a.bmp", "--limit", "12", "--no-symbols", "--no-grid"});
    EXPECT_EQ(options.shadeLimitText, "12");
    EXPECT_TRUE(options.limitShades);
    EXPECT_FALSE(options.symbols);
    EXPECT_FALSE(options.grid);
    EXPECT_TRUE(options.texture && options.color);

    options = ParseOk({"a.bmp", "--no-limit", "--no-texture", "--no-color", "--quiet"});
    EXPECT_FALSE(options.limitShades);
    EXPECT_FALSE(options.texture);
    EXPECT_FALSE(options.color);
    EXPECT_TRUE(options.quiet);

    EXPECT_FALSE(options.perceptual || options.cleanConfetti);
    options = ParseOk({"a.bmp", "--perceptual"});
    EXPECT_TRUE(options.perceptual && !options.cleanConfetti);
    options = ParseOk({"a.bmp", "--clean-confetti", "--no-limit"});
    EXPECT_TRUE(options.cleanConfetti && !options.perceptual && !options.limitShades);

    // A limit of 1 or 0 is the run's to refuse (and only when limiting is on).
    EXPECT_EQ(ParseOk({"a.bmp", "--limit", "1"}).shadeLimitText, "1");
    EXPECT_TRUE(Fails({"a.bmp", "--limit", "many"}));
    EXPECT_TRUE(Fails({"a.bmp", "--limit", "10", "--no-limit"}));
    EXPECT_TRUE(Fails({"a.bmp", "--grid", "--no-grid"}));
    EXPECT_TRUE(Fails({"a.bmp", "--symbols", "--no-symbols"}));
    EXPECT_TRUE(Fails({"a.bmp", "--bogus"}));
}

TEST(CliOptions, OutputFilesAndPicture) {
    const CliOptions options = ParseOk({"a.bmp", "--pattern", "out/p.JPEG", "--key", "k.Bmp",
                                        "--exact", "my.work.jpg", "--threads", "t.csv"});
    ASSERT_TRUE(options.pattern && options.key && options.exact);
    EXPECT_EQ(options.pattern->format, PictureFormat::Jpeg);
    EXPECT_EQ(options.key->format, PictureFormat::Bmp);
    EXPECT_EQ(options.exact->format, PictureFormat::Jpeg);
    EXPECT_EQ(options.exact->path, "my.work.jpg");
    EXPECT_EQ(options.threadsCsv, "t.csv");

    // Anything but .bmp, .jpg and .jpeg is refused before any work; a dot in a folder name is no
    // extension.
    EXPECT_TRUE(Fails({"a.bmp", "--pattern", "p.png"}));
    EXPECT_TRUE(Fails({"a.bmp", "--key", "key"}));
    EXPECT_TRUE(Fails({"a.bmp", "--exact", "out.jpg/exact"}));
    EXPECT_TRUE(Fails({"a.bmp", "--pattern", "same.bmp", "--key", "./same.bmp"}));
    EXPECT_TRUE(Fails({"a.bmp", "--threads", ""}));
    EXPECT_TRUE(Fails({"dir/a.bmp", "--pattern", "dir/../dir/a.bmp"}));

    // Links lead back to the picture: to the file itself, or to its folder.
    QTemporaryDir folder;
    const QString picture = folder.filePath("in.bmp");
    QFile(picture).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(picture, folder.filePath("link.bmp")));
    ASSERT_TRUE(QFile::link(folder.path(), folder.filePath("same")));
    EXPECT_TRUE(Fails({picture, "--pattern", folder.filePath("link.bmp")}));
    EXPECT_TRUE(Fails({picture, "--threads", folder.filePath("same/in.bmp")}));
    EXPECT_TRUE(Fails(
        {picture, "--key", folder.filePath("same/k.bmp"), "--exact", folder.filePath("k.bmp")}));
    EXPECT_FALSE(Fails({picture, "--key", folder.filePath("same/k.bmp")}));

    EXPECT_TRUE(Fails({}));
    EXPECT_TRUE(Fails({"a.bmp", "b.bmp"}));
    EXPECT_EQ(Parse({"--help"}).action, CliParseResult::Action::ShowHelp);
    EXPECT_EQ(Parse({"--version"}).action, CliParseResult::Action::ShowVersion);
}

TEST(ThreadListCsv, RowsInKeyOrderWithFinalCrossCounts) {
    const ThreadTable& palette = ThreadPalette();
    // Find a thread whose name needs no quoting and one with a space, to see quoting applied.
    int plain = 0;
    int spaced = 0;
    for (int i = 1; i <= kThreadCount; ++i) {
        const bool hasSpace = palette[i].Name.find(' ') != std::string_view::npos;
        if (!hasSpace && plain == 0) {
            plain = i;
        }
        if (hasSpace && spaced == 0) {
            spaced = i;
        }
    }
    ASSERT_GT(plain, 0);

    PatternData data;
    data.columns = 2;
    data.rows = 2;
    const std::uint32_t a = palette[plain].Color;
    const std::uint32_t b = palette[spaced > 0 ? spaced : plain + 1].Color;
    data.patternGrid = {b, a, b, b};
    data.usedColors = {b, a};
    // The sampling's counters are not what the final pattern shows after limiting.
    data.threadUsage[plain] = 99;

    const std::string csv = ThreadListCsv(data, ThreadNeeds{1.7L, 1.7L, 2});
    const auto& nameB = palette[ThreadIndexOfColor(b)].Name;
    const std::string expected =
        "symbol,name,red,green,blue,crosses,metres,skeins\r\n"
        "0,\"" +
        std::string(nameB) + "\"," + std::to_string(b & 0xFF) + ',' +
        std::to_string((b >> 8) & 0xFF) + ',' + std::to_string(b >> 16) + ",3,0.0,1\r\n" + "1,\"" +
        std::string(palette[plain].Name) + "\"," + std::to_string(a & 0xFF) + ',' +
        std::to_string((a >> 8) & 0xFF) + ',' + std::to_string(a >> 16) + ",1,0.0,1\r\n";
    EXPECT_EQ(csv, expected);
    EXPECT_EQ(ThreadListCsv(data, ThreadNeeds{1.7L, 1.7L, 2}, "режим: точный"),
              "# режим: точный\r\n" + expected);
}

} // namespace
} // namespace pelvano
