// mapolin-map compile: the editor's bytes from the options given or kept in the map file, the image
// size of the HTML5 and SVG outputs, usage errors and bad input.
#include "RunTool.h"
#include "../output/WorkedExample.h"
#include "output/core/ReplaceAll.h"

#include <QImage>
#include <QTemporaryDir>

#include <tuple>

namespace {

class CompileCli : public ::testing::Test {
protected:
    void SetUp() override { WriteBytes(Map, worked::MapFileBytes); }
    QTemporaryDir Dir;
    const QString Map = Dir.filePath(QStringLiteral("navmap.im"));
    const QStringList WorkedOptions{QStringLiteral("--align"), QStringLiteral("middle"), QStringLiteral("--alt"),
                                    QStringLiteral("Site navigation"), QStringLiteral("--border"), QStringLiteral("0"),
                                    QStringLiteral("--hspace"), QStringLiteral("0"), QStringLiteral("--vspace"),
                                    QStringLiteral("5"), QStringLiteral("--workdir"), QStringLiteral("C:\\web\\")};
};

} // namespace

// The classic file gives the worked fragment without its ALTs; saved with its status texts and
// options, the map gives it whole with no option given, as the editor after opening it.
TEST_F(CompileCli, WorkedExampleByteForByte)
{
    std::string withoutAlt = worked::FragmentBytes;
    for (const char *alt : {" ALT=\"About us\"", " ALT=\"Products\""})
        withoutAlt.erase(withoutAlt.find(alt), std::string(alt).size());
    const TToolRun host = RunTool(QStringList{QStringLiteral("compile"), Map} + WorkedOptions);
    EXPECT_EQ(host.Status, 0) << host.Err;
    EXPECT_EQ(host.Out, withoutAlt);
    const TToolRun clipboard = RunTool(QStringList{QStringLiteral("compile"), Map, QStringLiteral("--comment")} + WorkedOptions);
    EXPECT_EQ(clipboard.Out, std::string(ClipboardComment) + "\r\n" + withoutAlt);
    // The map name defaults to the file's base name.
    const TToolRun bare = RunTool({QStringLiteral("compile"), Map});
    EXPECT_EQ(bare.Out.substr(0, bare.Out.find("\r\n")), "<IMG SRC=\"C:/web/images/banner.gif\" USEMAP=\"#navmap\">");

    TMapFile map = worked::Map();
    map.ImageFileName = "banner.png";
    map.Rects[0].Alt = "About us";
    map.Polys[0].Alt = "Products";
    map.Options = worked::Options();
    WriteBytes(Map, WriteMapFile(map));
    const TToolRun saved = RunTool({QStringLiteral("compile"), Map});
    EXPECT_EQ(saved.Out, ReplaceAll(worked::FragmentBytes, "images/banner.gif", "banner.png", true)) << saved.Err;
}

// The HTML5 and SVG outputs take the image's natural size from the image file; the SVG needs it.
TEST_F(CompileCli, ImageSizeOfTheModernOutputs)
{
    TMapFile map = worked::Map();
    map.ImageFileName = "banner.png";
    WriteBytes(Map, WriteMapFile(map));
    const TToolRun missing = RunTool({QStringLiteral("compile"), Map, QStringLiteral("--svg")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("natural size"), std::string::npos) << missing.Err;
    QImage(40, 30, QImage::Format_RGB32).save(Dir.filePath(QStringLiteral("banner.png")));
    const TToolRun svg = RunTool({QStringLiteral("compile"), Map, QStringLiteral("--svg")});
    EXPECT_EQ(svg.Status, 0) << svg.Err;
    EXPECT_NE(svg.Out.find("viewBox=\"0 0 40 30\""), std::string::npos);
    const TToolRun html5 = RunTool({QStringLiteral("compile"), Map, QStringLiteral("--html5")});
    EXPECT_NE(html5.Out.find("width=\"40\" height=\"30\""), std::string::npos) << html5.Err;
    EXPECT_EQ(RunTool({QStringLiteral("compile"), Map, QStringLiteral("--svg"), QStringLiteral("--html5")}).Status, 2);
}

TEST_F(CompileCli, UsageErrorsAndBadInput)
{
    WriteBytes(Dir.filePath(QStringLiteral("page.html")), "<map name=m><area coords=1,2,3,4 href=a></map>");
    const QStringList usage[] = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("compile")},
        {QStringLiteral("compile"), Map, Map},
        {QStringLiteral("compile"), Map, QStringLiteral("--bogus")},
        {QStringLiteral("compile"), Map, QStringLiteral("--border")},
        {QStringLiteral("compile"), Map, QStringLiteral("--border"), QStringLiteral("1px")},
        {QStringLiteral("compile"), Map, QStringLiteral("--name"), QString()},
        {QStringLiteral("check"), Map, QStringLiteral("--fix")},
        {QStringLiteral("import"), Dir.filePath(QStringLiteral("page.html"))},
    };
    for (const QStringList &arguments : usage) {
        const TToolRun run = RunTool(arguments);
        EXPECT_EQ(run.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_NE(run.Err.find("mapolin-map"), std::string::npos);
        EXPECT_TRUE(run.Out.empty());
    }
    for (const char *help : {"--help", "--version"})
        EXPECT_EQ(RunTool({QString::fromLatin1(help)}).Status, 0);
    EXPECT_EQ(RunTool({QStringLiteral("import"), QStringLiteral("--help")}).Status, 0);

    // Every command on hostile files: a message naming the file, status 1, no output file.
    const std::tuple<const char *, std::string> files[] = {
        {"empty.im", ""},
        {"binary.im", std::string("\x00\xff\x89PNG\r\n\x1a\n\x00\x00", 12)},
        {"long.im", "a.gif\r\n\r\n\r\n" + std::string(50 << 20, '7') + "\r\n"},
        {"counts.im", "a.gif\r\n\r\n\r\n2147483647\r\n"},
        {"points.im", "a.gif\r\n\r\n\r\n0\r\n0\r\n1\r\n0\r\n0\r\n9\r\n9\r\nu\r\n\r\n99999999999\r\n"},
        {"unclosed.html", "<map name=m><div><area coords=1,2,3,4 href=a><map name=n><area shape=poly coords=1,2,3"},
    };
    const QString out = Dir.filePath(QStringLiteral("out.im"));
    for (const auto &[name, bytes] : files) {
        const QString path = Dir.filePath(QString::fromLatin1(name));
        WriteBytes(path, bytes);
        for (const QString &command : {QStringLiteral("compile"), QStringLiteral("check"), QStringLiteral("import")}) {
            const TToolRun run = RunTool(QStringList{command, path, QStringLiteral("-o"), out}.mid(0, command == "import" ? 4 : 2));
            EXPECT_EQ(run.Status, 1) << name << " " << command.toStdString() << run.Err;
            EXPECT_NE(run.Err.find(name), std::string::npos) << run.Err;
            EXPECT_LT(run.Err.size(), 2000u) << "long values are cut in messages";
            EXPECT_TRUE(run.Out.empty()) << "no part of a fragment on a refusal";
            EXPECT_FALSE(QFile::exists(out)) << name;
        }
    }
    for (const QString &missing : {Dir.path(), Dir.filePath(QStringLiteral("missing.im"))}) {
        const TToolRun run = RunTool({QStringLiteral("compile"), missing});
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find(missing.toStdString()), std::string::npos);
    }
}
