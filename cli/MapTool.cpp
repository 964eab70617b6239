#include "cli/MapTool.h"

#include "cli/core/CompileMap.h"
#include "cli/core/HtmlImport.h"
#include "cli/core/MapCheck.h"
#include "cli/image/ImageProbe.h"
#include "output/InputFile.h"
#include "output/MapText.h"
#include "output/SaveFile.h"
#include "output/core/MapFile.h"
#include "output/core/Shorten.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace {

// A whole message line; the values quoted in it are shortened already.
constexpr std::size_t MaxShownText = 400;

const char *const Summary = "Usage: mapolin-map COMMAND [OPTIONS] FILE\n"
                            "Compiles, checks and imports Mapolin image map files (.im).\n\n"
                            "Commands:\n"
                            "  compile MAP.im   write the HTML fragment of the map to standard output\n"
                            "  check MAP.im     report faults of the map and its image\n"
                            "  import PAGE.html write a map file from an image map of a page\n\n"
                            "Options:\n"
                            "  -h, --help       this text; COMMAND --help for the command's options\n"
                            "  -v, --version    the program's version\n";

std::string Local(const QString &text) { return MapBytes(text); }

std::string Shown(const std::string &text) { return Shortened(text, MaxShownText); }

struct TMapInput {
    TMapFile Map;
    bool Read = false;
    bool ExtensionDamaged = false;
};

// Reads and parses a map file; every problem is reported, and all but a damaged extension block
// end the command with status 1.
TMapInput ReadMap(const QString &path, void (*report)(const QString &, const TNote &))
{
    TMapInput input;
    const TInputFile file = ReadInputFile(path);
    if (!file.Error.isEmpty()) {
        report(path, {0, Local(file.Error)});
        return input;
    }
    TMapReadResult read = ReadMapFile(file.Bytes);
    if (read.Error) {
        report(path, {read.Error->Line, read.Error->Message});
        return input;
    }
    if (read.ExtensionError)
        report(path, {read.ExtensionError->Line, read.ExtensionError->Message});
    input.Map = std::move(read.Map);
    input.Read = true;
    input.ExtensionDamaged = read.ExtensionError.has_value();
    return input;
}

using TReadImage = int (*)(const char *, int *, int *, char *, int);

// The image module beside the program (build tree) or in its library folder (installed).
TReadImage LoadImageReader()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QString::fromLatin1(ImageModuleName);
    for (const QString &candidate : {dir + QLatin1Char('/') + name,
                                     dir + QStringLiteral("/../" MAPOLIN_LIBDIR "/mapolin/") + name}) {
        if (void *module = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<TReadImage>(dlsym(module, ImageReaderSymbol));
    }
    return nullptr;
}

TImageState ReadImage(const QString &mapPath, const std::string &imagePath)
{
    TImageState image;
    // A relative image path is taken from the map file's folder. Whatever stands there that is no
    // file (a directory, a FIFO, a device) is the module's to name; nothing is opened here.
    const QString path = QFileInfo(mapPath).dir().filePath(MapText(imagePath));
    if (imagePath.empty() || !QFileInfo::exists(path))
        return image;
    image.State = TImageState::TState::Unreadable;
    const TReadImage read = LoadImageReader();
    if (!read) {
        image.Reason = std::string("mapolin-map's image module ") + ImageModuleName + " is missing";
        return image;
    }
    char reason[512] = {};
    if (read(path.toLocal8Bit().constData(), &image.Width, &image.Height, reason, sizeof reason))
        image.State = TImageState::TState::Read;
    else
        image.Reason = reason;
    return image;
}

} // namespace

std::string TMapTool::ReportLine(const QString &file, const TNote &note)
{
    std::string line = Local(file);
    if (note.Line > 0)
        line += ":" + std::to_string(note.Line);
    return line + ": " + Shown(note.Text) + "\n";
}

void TMapTool::Report(const QString &file, const TNote &note) { std::fputs(ReportLine(file, note).c_str(), stderr); }

void TMapTool::Warn(const std::string &text) { std::fprintf(stderr, "mapolin-map: warning: %s\n", Shown(text).c_str()); }

int TMapTool::UsageError(const QString &text)
{
    std::fprintf(stderr, "mapolin-map: %s\nTry 'mapolin-map --help'.\n", Local(text).c_str());
    return 2;
}

bool TMapTool::WriteStdout(const std::string &bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t done = write(STDOUT_FILENO, bytes.data() + written, bytes.size() - written);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            std::fprintf(stderr, "mapolin-map: standard output: %s\n", FileErrorMessage(errno).c_str());
            return false;
        }
        written += static_cast<std::size_t>(done);
    }
    return true;
}

int TMapTool::Run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("-h") || command == QLatin1String("--help") || command == QLatin1String("help")) {
        std::fputs(Summary, stdout);
        return 0;
    }
    if (command == QLatin1String("-v") || command == QLatin1String("--version")) {
        std::printf("mapolin-map %s\n", Local(QCoreApplication::applicationVersion()).c_str());
        return 0;
    }
    const QStringList rest = arguments.mid(2);
    if (command == QLatin1String("compile"))
        return Compile(rest);
    if (command == QLatin1String("check"))
        return Check(rest);
    if (command == QLatin1String("import"))
        return Import(rest);
    return UsageError(command.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command '%1'").arg(command));
}

int TMapTool::Parse(QCommandLineParser &parser, const QString &command, const QStringList &arguments, int positionals)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("mapolin-map ") + command} + arguments))
        return UsageError(command + QStringLiteral(": ") + parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QCoreApplication::arguments().value(0), QStringLiteral("mapolin-map ") + command);
        std::fputs(Local(text).c_str(), stdout);
        return 0;
    }
    if (parser.positionalArguments().size() != positionals)
        return UsageError(command + QStringLiteral(": expected %1 file name, got %2")
                                        .arg(positionals)
                                        .arg(parser.positionalArguments().size()));
    return -1;
}

int TMapTool::Compile(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the HTML fragment of a map file to standard output, "
                                                    "byte for byte as the editor's Compile HTML. Options not given "
                                                    "are those the map file keeps."));
    parser.addPositionalArgument(QStringLiteral("MAP.im"), QStringLiteral("The map file."));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Map name (default: the file's base name)."),
                                  QStringLiteral("N"));
    const QCommandLineOption alt(QStringLiteral("alt"), QStringLiteral("Alternate description of the image."),
                                 QStringLiteral("A"));
    const QCommandLineOption border(QStringLiteral("border"), QStringLiteral("Border width, digits."), QStringLiteral("B"));
    const QCommandLineOption hspace(QStringLiteral("hspace"), QStringLiteral("Horizontal spacing, digits."),
                                    QStringLiteral("H"));
    const QCommandLineOption vspace(QStringLiteral("vspace"), QStringLiteral("Vertical spacing, digits."),
                                    QStringLiteral("V"));
    const QCommandLineOption align(QStringLiteral("align"), QStringLiteral("Alignment, e.g. middle."), QStringLiteral("X"));
    const QCommandLineOption workdir(QStringLiteral("workdir"),
                                     QStringLiteral("Folder of the HTML file; the image reference is made relative "
                                                    "to it."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption comment(QStringLiteral("comment"), QStringLiteral("Start with the clipboard comment line."));
    const QCommandLineOption html5(QStringLiteral("html5"), QStringLiteral("Write a modern, valid HTML fragment."));
    const QCommandLineOption svg(QStringLiteral("svg"),
                                 QStringLiteral("Write an inline SVG that scales with its container (needs the image)."));
    parser.addOptions({name, alt, border, hspace, vspace, align, workdir, comment, html5, svg});
    if (const int status = Parse(parser, QStringLiteral("compile"), arguments, 1); status >= 0)
        return status;
    if (parser.isSet(html5) && parser.isSet(svg))
        return UsageError(QStringLiteral("compile: --html5 and --svg exclude each other"));

    const QString path = parser.positionalArguments().front();
    const auto given = [&](const QCommandLineOption &option) {
        return parser.isSet(option) ? std::optional<std::string>(Local(parser.value(option))) : std::nullopt;
    };
    TCompileRequest request;
    request.Format = parser.isSet(svg) ? TFragmentFormat::Svg : parser.isSet(html5) ? TFragmentFormat::Html5
                                                                                     : TFragmentFormat::Classic;
    request.WorkDir = Local(parser.value(workdir));
    request.ClipboardMode = parser.isSet(comment);
    request.Options = {given(name), given(align), given(alt), given(border), given(vspace), given(hspace)};
    request.FallbackName = Local(QFileInfo(path).completeBaseName());
    for (const auto *number : {&request.Options.Border, &request.Options.VSpace, &request.Options.HSpace})
        if (*number && !IsDigitsOnly(**number))
            return UsageError(QStringLiteral("compile: --border, --hspace and --vspace take digits only"));
    if (request.Options.Name && request.Options.Name->empty())
        return UsageError(QStringLiteral("compile: the map name is empty; give one with --name"));

    const TInputFile file = ReadInputFile(path);
    if (!file.Error.isEmpty()) {
        Report(path, {0, Local(file.Error)});
        return 1;
    }
    if (request.Format != TFragmentFormat::Classic) {
        const std::string image(MapFileImagePath(file.Bytes));
        const TImageState state = ReadImage(path, image);
        if (state.State == TImageState::TState::Read) {
            request.ImageSize = TImageSize{state.Width, state.Height};
        } else {
            const std::string why = "the image '" + Shortened(image) + "' "
                                    + (state.State == TImageState::TState::Missing ? "is missing"
                                                                                   : "cannot be read: " + state.Reason);
            if (request.Format == TFragmentFormat::Svg) {
                Report(path, {0, "an SVG map needs the image's natural size, but " + why});
                return 1;
            }
            Warn("the image's size is unknown, so the img has no width and height: " + why);
        }
    }
    try {
        const TCompiledMap compiled = CompileMapFile(file.Bytes, request);
        if (compiled.Error) {
            Report(path, {compiled.Error->Line, compiled.Error->Message});
            return 1;
        }
        if (compiled.ExtensionError)
            Report(path, {compiled.ExtensionError->Line, compiled.ExtensionError->Message});
        for (const std::string &warning : compiled.Output.Warnings)
            Warn(warning);
        return WriteStdout(compiled.Output.Bytes) ? 0 : 1;
    } catch (const std::invalid_argument &refusal) {
        Report(path, {0, refusal.what()});
        return 1;
    }
}

int TMapTool::Check(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reports faults of a map file and its image, with line numbers; "
                                                    "exit status 1 when there are any."));
    parser.addPositionalArgument(QStringLiteral("MAP.im"), QStringLiteral("The map file."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("One JSON object per finding on standard output."));
    const QCommandLineOption alt(QStringLiteral("alt"), QStringLiteral("Also report hotspots without an alt text."));
    parser.addOptions({json, alt});
    if (const int status = Parse(parser, QStringLiteral("check"), arguments, 1); status >= 0)
        return status;
    const QString path = parser.positionalArguments().front();
    const TMapInput input = ReadMap(path, Report);
    if (!input.Read)
        return 1;
    const std::vector<TFinding> findings = CheckMap(input.Map, ReadImage(path, input.Map.ImageFileName), {.MissingAlt = parser.isSet(alt)});
    // Written at once: a large map can have a finding for each of 100,000 hotspots.
    std::string lines;
    const std::string file = Local(path);
    for (const TFinding &finding : findings) {
        if (parser.isSet(json))
            lines += FindingJson(file, finding) + "\n";
        else
            lines += ReportLine(path, {finding.Note.Line, finding.Kind + ": " + finding.Note.Text});
    }
    if (parser.isSet(json) ? !lines.empty() && !WriteStdout(lines) : std::fputs(lines.c_str(), stderr) < 0)
        return 1;
    return findings.empty() && !input.ExtensionDamaged ? 0 : 1;
}

int TMapTool::Import(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a map file from an image map of an HTML page."));
    parser.addPositionalArgument(QStringLiteral("PAGE.html"), QStringLiteral("The page."));
    const QCommandLineOption map(QStringLiteral("map"),
                                 QStringLiteral("Name or id of the map (needed when the page's images use several)."),
                                 QStringLiteral("NAME"));
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Image path to store (default: the src of the image using the map)."),
                                   QStringLiteral("PATH"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The map file to write."), QStringLiteral("MAP.im"));
    parser.addOptions({map, image, output});
    if (const int status = Parse(parser, QStringLiteral("import"), arguments, 1); status >= 0)
        return status;
    if (parser.value(output).isEmpty())
        return UsageError(QStringLiteral("import: give the map file to write with -o"));
    const QString page = parser.positionalArguments().front();
    // However it is spelt (a link included), writing over the page would lose it.
    struct stat pageStat {}, outputStat {};
    if (stat(QFile::encodeName(page).constData(), &pageStat) == 0
        && stat(QFile::encodeName(parser.value(output)).constData(), &outputStat) == 0
        && pageStat.st_dev == outputStat.st_dev && pageStat.st_ino == outputStat.st_ino)
        return UsageError(QStringLiteral("import: the map file to write (%1) is the page itself").arg(parser.value(output)));
    const TInputFile file = ReadInputFile(page);
    if (!file.Error.isEmpty()) {
        Report(page, {0, Local(file.Error)});
        return 1;
    }
    const QString target = parser.value(output);
    const TImportResult imported =
        ImportMap(file.Bytes, {Local(parser.value(map)), Local(parser.value(image)),
                                 Local(QFileInfo(page).absolutePath()),
                                 [&](const std::string &imagePath) {
                                     // A relative path as check takes it (from the map file's folder), else
                                     // from the current folder, as typed.
                                     const TImageState image = ReadImage(target, imagePath);
                                     return image.State == TImageState::TState::Missing
                                                ? ReadImage(QDir::current().filePath(QStringLiteral("-")), imagePath)
                                                : image;
                                 }});
    for (const TNote &note : imported.Notes)
        Report(page, note);
    for (const TNote &error : imported.Errors)
        Report(page, error);
    if (!imported.Errors.empty())
        return 1;
    std::string bytes;
    try {
        bytes = WriteMapFile(imported.Map);
    } catch (const std::invalid_argument &refusal) {
        Report(page, {0, refusal.what()});
        return 1;
    }
    // Written whole or not at all: an old file of the same name stays until the new one is complete.
    if (const QString error = WriteFileAtomically(target, bytes); !error.isEmpty()) {
        Report(target, {0, Local(error)});
        return 1;
    }
    const TMapFile &written = imported.Map;
    std::fprintf(stderr, "%s: %zu rectangle(s), %zu circle(s), %zu polygon(s)%s\n", Local(target).c_str(),
                 written.Rects.size(), written.Circles.size(), written.Polys.size(),
                 written.DefaultURL.empty() ? "" : " and a default");
    return 0;
}
