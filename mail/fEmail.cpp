#include "mail/fEmail.h"

#include "dialogs/Controls.h"
#include "dialogs/ModalResult.h"
#include "dialogs/Prompter.h"
#include "dialogs/UiFont.h"
#include "dialogs/WindowPlacement.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MailHostList.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace mail {

namespace {

const char *const DesignedCaption = "Email apptitle to a Friend";
const char *const DesignedHeading = "Think your friends would like apptitle too? ";
const char *const DesignedHeading2 =
    "Simply fill in the form below and press Send. An email will be sent to your friend which contains an HTML "
    "link to download apptitle. This makes it easy for your friends to try software that you think is cool.";
const char *const DesignedHeading3 = "You can also add a personalized message to your friend about how cool apptitle is.";
const QString BoxCaption = QStringLiteral("Mapolin");
// The SMTP client's time-out for each host, and the resolver's for each DNS server.
constexpr int HostTimeOut = 7;

// Looking the face up costs a fifth of a millisecond; it is the same for every window.
const QFont &WindowFont()
{
    static const QFont font = ui::Font();
    return font;
}

std::string Utf8(const QString &text)
{
    return text.toStdString();
}

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

// Puts the application-wide hourglass up for as long as it lives.
class THourglass {
public:
    THourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QGuiApplication::restoreOverrideCursor(); }
    THourglass(const THourglass &) = delete;
    THourglass &operator=(const THourglass &) = delete;
};

QLineEdit *MakeEdit(QWidget *parent, const char *name, QRect place)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(place);
    return edit;
}

// The failure dialog: the error text, "To Clipboard" (OK) and "&Close" (Enter and Escape).
bool AskForClipboard(QWidget *owner, const QString &error)
{
    QDialog dialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("dlgError"));
    dialog.setWindowTitle(QStringLiteral("An error has occurred"));
    dialog.setFont(WindowFont());
    QString text = error;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QLabel *label = controls::MakeLabel(&dialog, "lblError", text, QRect(4, 8, 365, 55), 0, true);
    // A long reply line would be cut in the designed box: the dialog grows downwards instead.
    const int extra = std::max(0, label->heightForWidth(365) - 55);
    label->resize(365, 55 + extra);
    QPushButton *toClipboard = controls::MakeButton(&dialog, "butClipboard", QStringLiteral("To Clipboard"),
                                                    QRect(212, 72 + extra, 75, 25));
    QPushButton *close = controls::MakeButton(&dialog, "butClose", QStringLiteral("&Close"), QRect(296, 72 + extra, 75, 25));
    close->setDefault(true);
    const auto accepted = QObject::connect(toClipboard, &QPushButton::clicked, &dialog, &QDialog::accept);
    const auto rejected = QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    Q_ASSERT(accepted && rejected);
    QWidget::setTabOrder(toClipboard, close);
    dialog.setFixedSize(374, 101 + extra);
    CentreOnScreen(dialog);
    return ExecModal(dialog) == mrOk;
}

} // namespace

TfrmEmail::TfrmEmail(QWidget *parent, IdentitySource identity)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      identity_(identity ? std::move(identity) : IdentitySource(PlatformIdentity))
{
    setObjectName(QStringLiteral("frmEmail"));
    setWindowTitle(QString::fromLatin1(DesignedCaption));
    setFont(WindowFont());
    setFixedSize(399, 434);

    lblHeading = controls::MakeLabel(this, "lblHeading", QString::fromLatin1(DesignedHeading), QRect(10, 8, 0, 0));
    lblHeading2 = controls::MakeLabel(this, "lblHeading2", QString::fromLatin1(DesignedHeading2), QRect(10, 26, 379, 61),
                                      0, true);
    const struct {
        const char *label, *text, *edit;
        QLineEdit *&field;
    } rows[] = {
        {"Label3", "Your Name:", "txtName", txtName},
        {"Label4", "Your Email Address:", "txtYourEmail", txtYourEmail},
        {"Label6", "Your Friends Name:", "txtFriendsName", txtFriendsName},
        {"Label1", "Friend's Email Address:", "txtAddress", txtAddress},
    };
    int top = 92;
    for (const auto &row : rows) {
        controls::MakeLabel(this, row.label, QString::fromLatin1(row.text), QRect(10, top + 4, 0, 0));
        row.field = MakeEdit(this, row.edit, QRect(150, top, 239, 21));
        const auto changed = connect(row.field, &QLineEdit::textChanged, this, &TfrmEmail::txtAddressChange);
        Q_ASSERT(changed);
        top += 28;
    }
    lblHeading3 = controls::MakeLabel(this, "lblHeading3", QString::fromLatin1(DesignedHeading3), QRect(10, 204, 379, 30),
                                      0, true);
    memText = new QPlainTextEdit(this);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setGeometry(10, 236, 379, 108);
    memText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memText->setTabChangesFocus(true);
    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(10, 352, 379, 2);
    chkHTML = new QCheckBox(QStringLiteral("Send Email as HTML"), this);
    chkHTML->setObjectName(QStringLiteral("chkHTML"));
    chkHTML->setGeometry(10, 366, 150, 17);
    butSend = controls::MakeButton(this, "butSend", QStringLiteral("&Send"), QRect(234, 362, 75, 25));
    butCancel = controls::MakeButton(this, "butCancel", QStringLiteral("&Cancel"), QRect(314, 362, 75, 25));
    // A focused button takes Enter; anywhere else Enter means Cancel (the memo keeps its new line).
    butSend->setAutoDefault(true);
    butCancel->setAutoDefault(true);
    butCancel->setDefault(true);
    butSend->setEnabled(false);
    lblStatus = controls::MakeLabel(this, "lblStatus", QString(), QRect(10, 410, 379, 16));
    const auto sent = connect(butSend, &QPushButton::clicked, this, &TfrmEmail::butSendClick);
    const auto cancelled = connect(butCancel, &QPushButton::clicked, this, &TfrmEmail::butCancelClick);
    Q_ASSERT(sent && cancelled);

    QWidget *order[] = {txtName, txtYourEmail, txtFriendsName, txtAddress, memText, chkHTML, butSend, butCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    txtName->setFocus();

    ctlMX.TimeOut = 30;
    ctlMsMail.DefaultPort = 25;
    ctlMsMail.TimeOut = 30;
    ctlMsMail.MailMessage = &ctlMessage;
    ctlMsMail.OnMailSent = [this] { ctlMsMailMailSent(); };
    ctlMessage.SetContentType("text/plain");
}

TfrmEmail::TIdentity TfrmEmail::PlatformIdentity()
{
    TIdentity identity;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_gecos) {
        // The full name is the first comma-separated field of the comment.
        const QString comment = QString::fromLocal8Bit(found->pw_gecos);
        identity.Name = comment.section(QLatin1Char(','), 0, 0).trimmed();
    }
    identity.Address = qEnvironmentVariable("EMAIL").trimmed();
    return identity;
}

void TfrmEmail::AssignFields(const TEmailFields &fields)
{
    AppTitle = FromUtf8(fields.AppTitle);
    DownloadURL = FromUtf8(fields.DownloadURL);
    ShortDescription = FromUtf8(fields.ShortDescription);
    LongDescription = FromUtf8(fields.LongDescription);
}

TEmailFields TfrmEmail::Fields() const
{
    return {Utf8(AppTitle), Utf8(DownloadURL), Utf8(ShortDescription), Utf8(LongDescription)};
}

int TfrmEmail::ShowModal()
{
    CentreOnScreen(*this);
    return ExecModal(*this);
}

void TfrmEmail::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TfrmEmail::FormShow()
{
    if (!Fields().Complete())
        Prompter().Message(this, IPrompter::Kind::Plain, BoxCaption, FromUtf8(InternalErrorText()), QMessageBox::Ok);
    const std::string title = Utf8(AppTitle);
    setWindowTitle(FromUtf8(WithAppTitle(DesignedCaption, title)));
    lblHeading->setText(FromUtf8(WithAppTitle(DesignedHeading, title)));
    lblHeading->adjustSize();
    lblHeading2->setText(FromUtf8(WithAppTitle(DesignedHeading2, title)));
    lblHeading3->setText(FromUtf8(WithAppTitle(DesignedHeading3, title)));
    ctlMessage.SetSubject(EmailSubject(title));

    const TIdentity own = identity_();
    txtName->setText(own.Name);
    txtYourEmail->setText(own.Address);
    if (!own.Name.isEmpty() && !own.Address.isEmpty())
        txtFriendsName->setFocus();
}

void TfrmEmail::txtAddressChange()
{
    butSend->setEnabled(!txtAddress->text().isEmpty());
}

void TfrmEmail::SetStatus(const QString &text)
{
    // The window sits in one long handler while sending: the line must be drawn now.
    lblStatus->setText(text);
    lblStatus->repaint();
}

std::string TfrmEmail::ComposeMessage()
{
    const TComposedMessage composed = mail::ComposeMessage(Fields(), SenderForText(Utf8(txtName->text())),
                                                           Utf8(txtFriendsName->text()),
                                                           Utf8(memText->toPlainText()), chkHTML->isChecked());
    ctlMessage.Body = SplitLines(composed.Text);
    ctlMessage.SetContentType(composed.ContentType);
    return composed.Text;
}

void TfrmEmail::butSendClick()
{
    QString error;
    bool failed = false;
    if (!TmsSMTP::WinsockLoaded()) {
        error = FromUtf8(WinsockProblemText());
        failed = true;
    } else {
        sending_ = true;
        failed = !Deliver(error);
        sending_ = false;
    }
    if (failed && AskForClipboard(this, error)) {
        QGuiApplication::clipboard()->setText(FromUtf8(ComposeMessage()));
        Prompter().Message(this, IPrompter::Kind::Plain, BoxCaption, FromUtf8(ClipboardPlacedText(Utf8(AppTitle))),
                           QMessageBox::Ok);
    }
    if (modalResult_ != mrNone)
        Finish(modalResult_);
}

bool TfrmEmail::Deliver(QString &error)
{
    const THourglass hourglass;
    mailSent_ = false;
    canceled_ = false;
    QStringList hosts;
    SetStatus(QStringLiteral("Building DNS list"));
    // The friend's domain: only the friend's own mail host takes a message for the friend.
    lookup_.emplace(ctlMX, [this](const QString &text) { SetStatus(text); }, FetchDnsList);
    lookup_->BuildMailHostList(txtAddress->text(), hosts);
    lookup_.reset();
    bool delivered = false;
    if (canceled_) {
        error = FromUtf8(DeliveryFailureText(ECanceledError().what()));
    } else if (hosts.isEmpty()) {
        error = FromUtf8(NoMailHostText());
    } else {
        ComposeMessage();
        ctlMessage.Sender.SetAddress(Utf8(txtYourEmail->text()));
        ctlMessage.Sender.SetName(Utf8(txtName->text()));
        for (const QString &line : hosts.mid(0, MaxHostsTried)) {
            const QString host = line.mid(line.indexOf(QLatin1Char('|')) + 1);
            SetStatus(QStringLiteral("Sending through ") + host);
            ctlMsMail.Server = host;
            ctlMsMail.TimeOut = HostTimeOut;
            ctlMessage.Recipients.Clear();
            ctlMessage.Recipients.Add("", Utf8(txtAddress->text()));
            try {
                ctlMsMail.Send();
                delivered = true;
            } catch (const std::exception &e) {
                // Once the text is accepted the friend has it: a failing goodbye must not send it twice.
                delivered = mailSent_;
                if (!delivered)
                    error = FromUtf8(DeliveryFailureText(e.what()));
            }
            if (delivered || canceled_)
                break;
        }
    }
    SetStatus(QString());
    return delivered;
}

void TfrmEmail::ctlMsMailMailSent()
{
    mailSent_ = true;
    Prompter().Message(this, IPrompter::Kind::Information, QStringLiteral("Information"),
                       FromUtf8(MailSentText()), QMessageBox::Ok);
    modalResult_ = mrOk;
}

void TfrmEmail::butCancelClick()
{
    modalResult_ = mrCancel;
    if (!sending_) {
        Finish(mrCancel);
        return;
    }
    canceled_ = true;
    if (lookup_)
        lookup_->Cancel();
    ctlMsMail.Cancel();
}

void TfrmEmail::reject()
{
    // The close box and Escape while sending: the window closes once the sending is over.
    modalResult_ = mrCancel;
    if (!sending_)
        Finish(mrCancel);
}

void TfrmEmail::Finish(int result)
{
    if (result == mrOk)
        accept();
    else
        QDialog::reject();
}

} // namespace mail
