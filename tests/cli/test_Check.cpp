// mapolin-map check on the command line: a clean map, text and JSON findings, an unreadable image.
#include "RunTool.h"
#include "../output/WorkedExample.h"

#include <QImage>

TEST(MapCheck, CommandLineAndJson)
{
    QTemporaryDir dir;
    QImage picture(300, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("banner.png"))));
    std::string bytes = worked::MapFileBytes;
    bytes.replace(0, bytes.find("\r\n"), "banner.png");
    const QString map = dir.filePath(QStringLiteral("clean.im"));
    WriteBytes(map, bytes);
    const TToolRun clean = RunTool({QStringLiteral("check"), map});
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_TRUE(clean.Err.empty() && clean.Out.empty());

    bytes.replace(bytes.find("about.html"), 10, "");
    WriteBytes(map, bytes);
    const TToolRun text = RunTool({QStringLiteral("check"), map});
    EXPECT_EQ(text.Status, 1);
    EXPECT_EQ(text.Err, map.toStdString() + ":5: empty-url: rectangle 1 has an empty URL\n");
    const TToolRun json = RunTool({QStringLiteral("check"), map, QStringLiteral("--json")});
    EXPECT_EQ(json.Status, 1);
    EXPECT_EQ(json.Out, "{\"file\":\"" + map.toStdString()
                            + "\",\"line\":5,\"kind\":\"empty-url\",\"message\":\"rectangle 1 has an empty URL\"}\n");

    WriteBytes(dir.filePath(QStringLiteral("banner.png")), "not a picture");
    const TToolRun unreadable = RunTool({QStringLiteral("check"), map, QStringLiteral("--json")});
    EXPECT_NE(unreadable.Out.find("image-unreadable"), std::string::npos);
}
