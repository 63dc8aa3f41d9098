#include "tests/support/ScriptedDialogs.h"

#include <QTest>

Q_DECLARE_METATYPE(TFontSpec)
Q_DECLARE_METATYPE(TDialogService::SaveAnswer)

QString KindName(TScriptedDialogs::Kind kind)
{
    using K = TScriptedDialogs::Kind;
    switch (kind) {
    case K::MessageBox:
        return QStringLiteral("message");
    case K::PlainMessage:
        return QStringLiteral("plain");
    case K::InputBox:
        return QStringLiteral("input");
    case K::Font:
        return QStringLiteral("font");
    case K::Color:
        return QStringLiteral("color");
    case K::SaveFile:
        return QStringLiteral("save");
    case K::Folder:
        return QStringLiteral("folder");
    case K::ModalForm:
        return QStringLiteral("form");
    case K::ErrorReport:
        return QStringLiteral("error");
    }
    return {};
}

TScriptedDialogs& TScriptedDialogs::AnswerButton(int button)
{
    Answers.append({Kind::MessageBox, button, {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerInput(std::optional<QString> text)
{
    Answers.append({Kind::InputBox, text ? QVariant(*text) : QVariant(), {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerFont(std::optional<TFontSpec> font)
{
    Answers.append({Kind::Font, font ? QVariant::fromValue(*font) : QVariant(), {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerColor(std::optional<qint32> color)
{
    Answers.append({Kind::Color, color ? QVariant(*color) : QVariant(), {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerSave(std::optional<SaveAnswer> answer)
{
    Answers.append({Kind::SaveFile, answer ? QVariant::fromValue(*answer) : QVariant(), {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerFolder(std::optional<QString> folder)
{
    Answers.append({Kind::Folder, folder ? QVariant(*folder) : QVariant(), {}});
    return *this;
}

TScriptedDialogs& TScriptedDialogs::AnswerForm(std::function<int(QObject*)> run)
{
    Answers.append({Kind::ModalForm, {}, std::move(run)});
    return *this;
}

QStringList TScriptedDialogs::LogLines() const
{
    QStringList lines;
    for (const Entry& e : Entries)
        lines << KindName(e.DialogKind) + u'|' + e.Caption + u'|' + e.Text;
    return lines;
}

std::optional<TScriptedDialogs::Answer> TScriptedDialogs::take(Kind kind, const Entry& entry)
{
    Entries.append(entry);
    if (!Answers.isEmpty() && Answers.constFirst().DialogKind == kind)
        return Answers.takeFirst();
    const QString what = QStringLiteral("unexpected %1 dialog \"%2\": %3")
                             .arg(KindName(kind), entry.Caption, entry.Text);
    UnexpectedDialogs << what;
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    return std::nullopt;
}

int TScriptedDialogs::MessageBox(const QString& text, const QString& caption, int flags)
{
    if (Unavailable) {
        Entries.append({Kind::MessageBox, caption, text, flags});
        throw TDialogUnavailable("scripted: message box unavailable");
    }
    if ((flags & 0x0F) == 0) {
        Entries.append({Kind::MessageBox, caption, text, flags});
        return 1;
    }
    const auto answer = take(Kind::MessageBox, {Kind::MessageBox, caption, text, flags});
    return answer ? answer->Value.toInt() : 7;
}

void TScriptedDialogs::PlainMessage(const QString& text)
{
    if (Unavailable)
        throw TDialogUnavailable("scripted: plain message unavailable");
    Entries.append({Kind::PlainMessage, QString(), text, 0});
}

std::optional<QString> TScriptedDialogs::InputBox(const QString& caption, const QString& prompt,
                                                  const QString& preset)
{
    const auto answer = take(Kind::InputBox, {Kind::InputBox, caption, prompt + u'|' + preset, 0});
    if (!answer || !answer->Value.isValid())
        return std::nullopt;
    return answer->Value.toString();
}

std::optional<TFontSpec> TScriptedDialogs::ChooseFont(const TFontSpec& initial)
{
    const auto answer = take(Kind::Font, {Kind::Font, QString(), initial.Name, initial.Size});
    if (!answer || !answer->Value.isValid())
        return std::nullopt;
    return answer->Value.value<TFontSpec>();
}

std::optional<qint32> TScriptedDialogs::ChooseColor(qint32 initialColor)
{
    const auto answer =
        take(Kind::Color, {Kind::Color, QString(), QString::number(initialColor), 0});
    if (!answer || !answer->Value.isValid())
        return std::nullopt;
    return answer->Value.toInt();
}

std::optional<TDialogService::SaveAnswer>
TScriptedDialogs::SaveFile(const QString& caption, const QString& folder, const QString& name,
                           const QStringList& filters, int filterIndex)
{
    // Logged as "folder|name|filter;filter..." with the selected entry's index in Flags.
    const auto answer =
        take(Kind::SaveFile, {Kind::SaveFile, caption,
                              folder + u'|' + name + u'|' + filters.join(u';'), filterIndex});
    if (!answer || !answer->Value.isValid())
        return std::nullopt;
    return answer->Value.value<SaveAnswer>();
}

std::optional<QString> TScriptedDialogs::ChooseFolder(const QString& caption, const QString& start)
{
    const auto answer = take(Kind::Folder, {Kind::Folder, caption, start, 0});
    if (!answer || !answer->Value.isValid())
        return std::nullopt;
    return answer->Value.toString();
}

int TScriptedDialogs::ShowModalForm(QObject* form)
{
    const auto answer = take(
        Kind::ModalForm, {Kind::ModalForm, form ? form->objectName() : QString(), QString(), 0});
    if (!answer || !answer->Form)
        return 0;
    return answer->Form(form);
}

void TScriptedDialogs::ErrorReport(const QString& text)
{
    Entries.append({Kind::ErrorReport, QString(), text, 0});
}

TScopedDialogs::TScopedDialogs()
{
    auto service = std::make_unique<TScriptedDialogs>();
    Service = service.get();
    Previous = InstallDialogService(std::move(service));
}

TScopedDialogs::~TScopedDialogs()
{
    InstallDialogService(std::move(Previous));
}
