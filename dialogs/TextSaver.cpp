#include "dialogs/TextSaver.h"

#include "common/AppConstants.h"
#include "dialogs/FileDialogs.h"
#include "platform/DialogService.h"

#include <QFileInfo>

namespace {

constexpr int FlagsYesNo = 4;

} // namespace

QString NonCp932Question(const TNonCp932Character& found)
{
    const QString code =
        QStringLiteral("U+%1").arg(uint(found.Character), 4, 16, QLatin1Char('0')).toUpper();
    // A character that shows nothing (a control, a lone surrogate) is named by its code alone.
    const bool printable = QChar::isPrint(found.Character) &&
                           !QChar::isSurrogate(found.Character) && found.Character != 0xFFFD;
    const QString shown =
        printable ? QStringLiteral("「%1」(%2)").arg(QString::fromUcs4(&found.Character, 1), code)
                  : code;
    return QStringLiteral("%1 行目の文字 %2 は Shift-JIS で保存できません。")
               .arg(found.Line + 1)
               .arg(shown) +
           QStringLiteral("\r\n\r\n") + QStringLiteral("UTF-8 で保存しますか?");
}

bool TTextSaver::ChooseEncoding(TTextEncoding& encoding)
{
    encoding = TTextEncoding::Cp932;
    const std::optional<TNonCp932Character> found = FindNonCp932(Port.Paragraphs());
    if (!found)
        return true;
    if (Port.MessageBox(NonCp932Question(*found), ConfirmCaption(), FlagsYesNo) != AnswerYes)
        return false;
    encoding = TTextEncoding::Utf8WithBom;
    return true;
}

bool TTextSaver::FileSaveExecute()
{
    if (Port.LineCount() == 0)
        return false;
    QString name = QFileInfo(Port.CurrentFileName()).fileName();
    if (name.isEmpty())
        name = QStringLiteral("File01");
    if (!FileDialogsForm || !FileDialogsForm->ExecuteSaveDialog(name, QString()))
        return false;
    TTextEncoding encoding;
    if (!ChooseEncoding(encoding))
        return false;
    const QString failure = WriteTextFile(name, Port.Paragraphs(), encoding);
    if (!failure.isEmpty()) {
        Dialogs().ErrorReport(failure);
        return false;
    }
    Port.TextSaved();
    return true;
}
