// The SVG map and the HTML5 fragment in a real browser: headless Chromium finds, at points of the
// image, the link a click there follows. The SVG is probed at its container's full width and at
// 37 % of it, the fragment at its natural size. Skipped only where Chromium is not installed.
#include "WorkedExample.h"
#include "output/core/Html5Fragment.h"
#include "output/core/SvgMap.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

constexpr int Width = 1200, Height = 800;

THotspotShape Circle(int x, int y, int radius) { return worked::Circle(y - radius, x - radius, 2 * radius + 1, {radius, radius}, radius); }

// A polygon in image pixels (its box at the origin).
THotspotShape Polygon(std::vector<CoordPoint> points) { return worked::Poly(0, 0, Height, Width, std::move(points)); }

// Hotspots that overlap within and across kinds; a star whose middle even-odd leaves out.
TFragmentMap Map()
{
    TFragmentMap map;
    map.Src = "map.png";
    map.ImageSize = TImageSize{Width, Height};
    map.Options.Name = "m";
    const auto area = [](THotspotShape shape, const char *url) { return TFragmentArea{shape, url, "", url}; };
    map.Rects = {area(worked::Box(100, 100, 200, 300), "r1"), area(worked::Box(100, 600, 200, 200), "r2"),
                 area(worked::Box(250, 350, 100, 200), "r3")};
    map.Circles = {area(Circle(150, 450, 50), "c1"), area(Circle(700, 330, 60), "c2")};
    map.Polys = {area(Polygon({{650, 500}, {800, 500}, {725, 650}}), "p1"),
                 area(Polygon({{170, 420}, {300, 420}, {300, 520}, {170, 520}}), "p2"),
                 area(Polygon({{1000, 100}, {1088, 371}, {857, 203}, {1143, 203}, {912, 371}}), "star"),
                 area(Polygon({{700, 520}, {900, 520}, {900, 620}, {700, 620}}), "p4")};
    map.DefaultURL = "d";
    return map;
}

// Points of the image and the link that takes them: each hotspot's middle, then points that
// overlapping hotspots share, where the first in map order wins.
const struct {
    int X, Y;
    const char *Link;
} Probes[] = {{250, 200, "r1"}, {700, 200, "r2"}, {450, 300, "r3"}, {150, 450, "c1"}, {700, 330, "c2"},
              {725, 550, "p1"}, {235, 470, "p2"}, {1000, 130, "star"}, {800, 570, "p4"}, {1150, 750, "d"},
              {375, 275, "r1"}, {700, 285, "r2"}, {185, 450, "c1"}, {740, 540, "p1"}, {1000, 260, "d"}};

// Shows each box alone, reports its width, then the link at each probe, scrolled into view.
constexpr const char *Script = R"(
const out = [];
for (const box of document.querySelectorAll('.box')) {
  box.style.display = 'block';
  const shown = box.firstElementChild.tagName === 'svg' ? box.firstElementChild : box.querySelector('img');
  out.push(box.id + " width " + Math.round(shown.getBoundingClientRect().width));
  for (const [x, y] of probes) {
    scrollTo(0, 0);
    const r = shown.getBoundingClientRect(), scale = r.width / WIDTH;
    const px = r.left + x * scale, py = r.top + y * scale;
    scrollTo(Math.max(0, px - innerWidth / 2), Math.max(0, py - innerHeight / 2));
    const hit = document.elementFromPoint(px - scrollX, py - scrollY);
    const link = hit && hit.closest('a, area');
    out.push(box.id + ' ' + x + ',' + y + ' ' + (link ? link.getAttribute('href') : hit ? hit.tagName : 'nothing'));
  }
  box.style.display = 'none';
}
document.getElementById('result').textContent = '\n' + out.join('\n') + '\n';
)";

} // namespace

TEST(Browser, LinksUnderThePointerAtEveryWidth)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed";
    QTemporaryDir dir, profile;
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("map.png"))));

    const TFragmentMap map = Map();
    std::string probes = "const probes = [", expected;
    for (const char *box : {"full", "part", "natural"}) {
        expected += std::string(box) + " width " + (box[0] == 'f' ? "1000" : box[0] == 'p' ? "370" : "1200") + "\n";
        for (const auto &probe : Probes)
            expected += std::string(box) + " " + std::to_string(probe.X) + "," + std::to_string(probe.Y) + " " + probe.Link + "\n";
    }
    for (const auto &probe : Probes)
        probes += "[" + std::to_string(probe.X) + "," + std::to_string(probe.Y) + "],";
    const std::string svg = WriteSvgMap(map).Bytes;
    const std::string page = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>html { overflow: hidden } body { margin: 0 } .box { display: none }"
                             "</style></head><body>\n<div class=\"box\" id=\"full\">" + svg
                             + "</div>\n<div class=\"box\" id=\"part\" style=\"width: 37%\">" + svg
                             + "</div>\n<div class=\"box\" id=\"natural\">" + WriteHtml5Fragment(map).Bytes
                             + "</div>\n<pre id=\"result\"></pre>\n<script>const WIDTH = " + std::to_string(Width) + ";\n"
                             + probes + "];\n" + Script + "</script></body></html>\n";
    const QString file = dir.filePath(QStringLiteral("page.html"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(page.data(), qint64(page.size()));
    out.close();

    QProcess browser;
    const QStringList quiet = QStringLiteral("--headless --no-sandbox --disable-gpu --no-first-run --disable-sync "
                                             "--disable-background-networking --disable-component-update").split(' ');
    browser.start(chromium, quiet + QStringList{"--window-size=1000,700", "--user-data-dir=" + profile.path(), "--dump-dom",
                                                QUrl::fromLocalFile(file).toString()});
    ASSERT_TRUE(browser.waitForFinished(120000)) << "chromium did not end";
    const std::string dom = browser.readAllStandardOutput().toStdString();
    const std::size_t start = dom.find("<pre id=\"result\">");
    ASSERT_NE(start, std::string::npos) << dom << browser.readAllStandardError().toStdString();
    const std::size_t from = start + std::string("<pre id=\"result\">\n").size();
    EXPECT_EQ(dom.substr(from, dom.find("</pre>", from) - from), expected);
}
