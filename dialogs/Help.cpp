#include "dialogs/Help.h"

#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "dialogs/WindowPlacement.h"
#include "dialogs/core/HelpFile.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

const QString kCaption = QStringLiteral("Mapolin Help");

// The secondary window that shows whole topics; a window of its owner, so it never keeps the
// program running once the owner has closed.
class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *owner) : QWidget(owner, Qt::Window)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(kCaption);
        browser_->setObjectName(QStringLiteral("txtTopic"));
        // Topics are read at length: a size larger than the controls' own.
        QFont reading = ui::Font();
        reading.setPixelSize(13);
        browser_->setFont(reading);
        browser_->setOpenLinks(false);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser_);
        resize(520, 460);
    }

    void ShowTopic(const QString &html)
    {
        browser_->setHtml(html);
        if (!isVisible() && parentWidget())
            PlaceOver(*this, *parentWidget()->window());
        show();
        raise();
        activateWindow();
    }

protected:
    // Escape closes it, as it closes every other window of ours but the main one.
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
            close();
        else
            QWidget::keyPressEvent(event);
    }

private:
    QTextBrowser *browser_ = new QTextBrowser(this);
};

// Turns F1 and What's This on a control into help requests for the control's context.
class THelpKeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
                return false;
            const int context = ContextOf(widget);
            if (context == 0)
                return false;
            Help::Request(Help::Command::Topic, context);
            return true;
        }
        case QEvent::QueryWhatsThis:
            return ContextOf(widget) != 0;
        case QEvent::WhatsThis: {
            const int context = ContextOf(widget);
            if (context == 0)
                return false;
            Help::Request(Help::Command::Popup, context);
            return true;
        }
        default:
            return false;
        }
    }

private:
    static int ContextOf(const QWidget *widget)
    {
        for (; widget; widget = widget->parentWidget()) {
            bool ok = false;
            const int context = widget->property(Help::kContextProperty).toInt(&ok);
            if (ok && context > 0)
                return context;
        }
        return 0;
    }
};

struct THelpState {
    QString file;
    QString window = QStringLiteral("main");
    Help::Hook hook;
    Help::IViewer *viewer = nullptr;
    QPointer<QWidget> owner;
    QPointer<THelpWindow> helpWindow;
    QPointer<THelpKeyFilter> keyFilter;
    int depth = 0; // a hook that asks again from within is allowed a few levels, never a loop
};

THelpState &State()
{
    static THelpState state;
    return state;
}

// Topics in the help window, pop-ups as What's This texts at the pointer.
class TRealViewer : public Help::IViewer {
public:
    void ShowTopic(int, const QString &title, const QString &html) override
    {
        THelpState &state = State();
        if (!state.helpWindow)
            state.helpWindow = new THelpWindow(state.owner);
        state.helpWindow->setObjectName(state.window);
        state.helpWindow->ShowTopic(QStringLiteral("<h2>%1</h2>").arg(title.toHtmlEscaped()) + html);
    }
    void ShowPopup(int, const QPoint &at, const QString &title, const QString &html) override
    {
        QWhatsThis::showText(at, QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped()) + html);
    }
};

Help::IViewer &Viewer()
{
    static TRealViewer real;
    return State().viewer ? *State().viewer : real;
}

void Report(const QString &text)
{
    Prompter().Message(QApplication::activeWindow(), IPrompter::Kind::Error, kCaption, text, QMessageBox::Ok);
}

QString ParagraphsToHtml(const helpfile::Topic &topic)
{
    auto escape = [](const std::string &text) { return QString::fromStdString(text).toHtmlEscaped(); };
    QString html;
    for (const std::vector<std::string> &paragraph : topic.paragraphs) {
        QStringList words;
        bool inList = false;
        auto flushWords = [&] {
            if (!words.isEmpty())
                html += QStringLiteral("<p>%1</p>").arg(words.join(QLatin1Char(' ')));
            words.clear();
        };
        for (const std::string &line : paragraph) {
            if (line.starts_with("- ")) {
                flushWords();
                if (!inList)
                    html += QStringLiteral("<ul>");
                inList = true;
                html += QStringLiteral("<li>%1</li>").arg(escape(line.substr(2)));
            } else {
                if (inList)
                    html += QStringLiteral("</ul>");
                inList = false;
                words << escape(line);
            }
        }
        flushWords();
        if (inList)
            html += QStringLiteral("</ul>");
    }
    return html;
}

std::optional<helpfile::Topic> LoadTopic(int context)
{
    const THelpState &state = State();
    QFile file(state.file);
    if (state.file.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        Report(QStringLiteral("Cannot open the help file \"%1\".").arg(state.file));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    helpfile::ParseResult parsed = helpfile::Parse(std::string_view(bytes.constData(), bytes.size()));
    if (!parsed.Ok()) {
        // One arg() for all three: a path holding "%2" must come through unchanged.
        Report(QStringLiteral("The help file \"%1\" is damaged (line %2: %3).")
                   .arg(state.file, QString::number(parsed.errorLine), QString::fromStdString(parsed.error)));
        return std::nullopt;
    }
    const auto found = parsed.topics.find(context);
    if (found == parsed.topics.end()) {
        Report(QStringLiteral("The help file has no topic for help context %1.").arg(context));
        return std::nullopt;
    }
    return std::move(found->second);
}

} // namespace

namespace Help {

void SetHelpFile(const QString &fileAndWindow)
{
    THelpState &state = State();
    const qsizetype split = fileAndWindow.lastIndexOf(QLatin1Char('>'));
    state.file = split < 0 ? fileAndWindow : fileAndWindow.left(split);
    state.window = split < 0 ? QStringLiteral("main") : fileAndWindow.mid(split + 1);
    if (state.helpWindow)
        state.helpWindow->setObjectName(state.window);
}

QString HelpFile() { return State().file; }

QString WindowName() { return State().window; }

void SetHook(Hook hook) { State().hook = std::move(hook); }

bool Request(Command command, int context)
{
    THelpState &state = State();
    constexpr int kMaxDepth = 4;
    if (state.depth >= kMaxDepth)
        return false;
    ++state.depth;
    const bool passed = !state.hook || state.hook(command, context);
    --state.depth;
    if (!passed)
        return false;

    const std::optional<helpfile::Topic> topic = LoadTopic(context);
    if (!topic)
        return false;
    const QString title = QString::fromStdString(topic->title);
    if (command == Command::Topic)
        Viewer().ShowTopic(context, title, ParagraphsToHtml(*topic));
    else
        Viewer().ShowPopup(context, QCursor::pos(), title, ParagraphsToHtml(*topic));
    return true;
}

void InstallKeyHandler()
{
    THelpState &state = State();
    if (state.keyFilter || !qApp)
        return;
    state.keyFilter = new THelpKeyFilter(qApp);
    qApp->installEventFilter(state.keyFilter);
}

void SetViewer(IViewer *viewer) { State().viewer = viewer; }

void SetOwner(QWidget *owner)
{
    THelpState &state = State();
    state.owner = owner;
    if (state.helpWindow && state.helpWindow->parentWidget() != owner)
        delete state.helpWindow;
}

void Reset()
{
    THelpState &state = State();
    delete state.helpWindow;
    QWhatsThis::hideText();
    state.file.clear();
    state.window = QStringLiteral("main");
    state.hook = {};
    state.owner = nullptr;
}

} // namespace Help

#include "Help.moc"
