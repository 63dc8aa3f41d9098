#include "app/Settings.h"
#include "platform/IniFile.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The settings passes over a real file: reading with defaults and corrections, writing every
// key in the one order, and the screen fit of the saved bounds.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void missingFileGivesDefaults();
    void readValues_data();
    void readValues();
    void fontStyle_data();
    void fontStyle();
    void writePassOrderAndValues();
    void roundTrip();
    void screenFit_data();
    void screenFit();

private:
    QString writeIni(const QByteArray& bytes);
    QTemporaryDir Dir;
};

QString TestSettings::writeIni(const QByteArray& bytes)
{
    const QString path = Dir.filePath(QStringLiteral("Quorvelane.ini"));
    if (!WriteFile(path, bytes))
        qFatal("cannot write the test file");
    return path;
}

void TestSettings::missingFileGivesDefaults()
{
    TAppState defaults;
    defaults.Files.Folder = QStringLiteral("/start");
    TAppState read = defaults;
    ReadSettings(TIniFile(Dir.filePath(QStringLiteral("none.ini"))), read);
    QCOMPARE(SettingsValues(read), SettingsValues(defaults));
    QCOMPARE(read.Look.BackColor, -2147483633);
    QCOMPARE(read.Search.SearchSimplleContents, QStringLiteral("１２３４５６７８９０"));
    // Each key's default is written once, in the field that holds it.
    const QVariantList expected{
        false, 50, 30, 500, 400, 110, 110, 150, 96, false, QStringLiteral("*.txt"),
        QStringLiteral("*.txt/*.rtf/*.m3u"), QString(), QStringLiteral("/start"), QString(), 7,
        QStringLiteral("100,250,500"), 0, false, false, 1, -2147483633, false, 4, 0,
        QStringLiteral("ＭＳ Ｐゴシック"), 0, false, 1, QString(), QStringLiteral("()"),
        QStringLiteral("１２３４５６７８９０"), 0, false,
        // [Formats]: formatting on, ruby above the base.
        true, 0,
        false,  // [Comfort] StatusStrip
        false,  // KeepPlaces
        false}; // TextPauses
    QCOMPARE(SettingsValues(read), expected);
}

void TestSettings::readValues_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("maximized only")
        << QByteArray("[Form]\r\nMaximized=1\r\n") << "Form/Maximized" << QVariant(true);
    QTest::newRow("others default")
        << QByteArray("[Form]\r\nMaximized=1\r\n") << "Form/Width" << QVariant(500);
    QTest::newRow("hex width") << QByteArray("[Form]\r\nWidth=0x3E8\r\n") << "Form/Width"
                               << QVariant(1000);
    QTest::newRow("mixed case names")
        << QByteArray("[form]\r\nwIdTh=640\r\n") << "Form/Width" << QVariant(640);
    QTest::newRow("bool yes is default") << QByteArray("[BaseData]\r\nSlideRepeat=yes\r\n")
                                         << "BaseData/SlideRepeat" << QVariant(false);
    QTest::newRow("bool two is true") << QByteArray("[BaseData]\r\nSlideRepeat=2\r\n")
                                      << "BaseData/SlideRepeat" << QVariant(true);
    QTest::newRow("search type 7")
        << QByteArray("[BaseData]\r\nSearchType=7\r\n") << "BaseData/SearchType" << QVariant(0);
    QTest::newRow("ruby style out of range")
        << QByteArray("[Formats]\r\nRubyStyle=7\r\n") << "Formats/RubyStyle" << QVariant(0);
    QTest::newRow("ruby style hidden")
        << QByteArray("[Formats]\r\nRubyStyle=2\r\n") << "Formats/RubyStyle" << QVariant(2);
    QTest::newRow("search type 3")
        << QByteArray("[BaseData]\r\nSearchType=3\r\n") << "BaseData/SearchType" << QVariant(3);
    QTest::newRow("search type garbage")
        << QByteArray("[BaseData]\r\nSearchType=x\r\n") << "BaseData/SearchType" << QVariant(1);
    QTest::newRow("negative colour") << QByteArray("[BaseData]\r\nBackColor=-2147483633\r\n")
                                     << "BaseData/BackColor" << QVariant(-2147483633);
    QTest::newRow("cp932 font name")
        << QByteArray("[BaseData]\r\nFontName=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\r\n")
        << "BaseData/FontName" << QVariant(QStringLiteral("ＭＳ 明朝"));
    QTest::newRow("font style") << QByteArray("[BaseData]\r\nFontStyle=1010\r\n")
                                << "BaseData/FontStyle" << QVariant(1010);
    QTest::newRow("two selected folders")
        << QByteArray("[FileFolder]\r\nSelFolder=/a;/b\r\n") << "FileFolder/SelFolder"
        << QVariant(QStringLiteral("/a;/b"));
    QTest::newRow("huge number is default")
        << QByteArray("[Form]\r\nLeft=99999999999\r\n") << "Form/Left" << QVariant(50);
    QTest::newRow("binary garbage")
        << QByteArray("\x00\xff[Form\x00]\r\n\x81", 9) << "Form/Left" << QVariant(50);
}

void TestSettings::readValues()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    TAppState state;
    ReadSettings(TIniFile(writeIni(ini)), state);
    QCOMPARE(SettingsValue(state, field), value);
}

void TestSettings::fontStyle_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::addColumn<int>("encoded");
    QTest::newRow("bold underline") << 1010 << true << false << true << false << 1010;
    QTest::newRow("underline strike") << 11 << false << false << true << true << 11;
    QTest::newRow("strike only") << 3 << false << false << false << true << 1;
    QTest::newRow("all") << 1111 << true << true << true << true << 1111;
    QTest::newRow("none") << 0 << false << false << false << false << 0;
}

void TestSettings::fontStyle()
{
    QFETCH(int, value);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    QFETCH(int, encoded);
    const TFontStyleBits bits = DecodeFontStyle(value);
    QCOMPARE(bits, (TFontStyleBits{bold, italic, underline, strikeOut}));
    QCOMPARE(EncodeFontStyle(bits), encoded);
}

void TestSettings::writePassOrderAndValues()
{
    const QString path = Dir.filePath(QStringLiteral("written.ini"));
    QFile::remove(path);
    TAppState data;
    data.Files.Folder = QStringLiteral("/home/reader");
    data.Search.SearchType = 7;
    {
        TIniFile ini(path);
        WriteSettings(ini, data);
        QVERIFY(ini.UpdateFile());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QStringList keys;
    QString section;
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.startsWith('['))
            section = QString::fromLatin1(line.mid(1, line.size() - 2));
        else if (line.contains('='))
            keys << section + u'/' + QString::fromLatin1(line.left(line.indexOf('=')));
    }
    QStringList expected;
    for (int i = 0; i < SettingsKeyCount(); ++i)
        expected << SettingsKeyName(i);
    // The program's 34 keys, then the text formats' and the reading comfort's, each in a
    // section of its own.
    QCOMPARE(SettingsKeyCount(), 39);
    QCOMPARE(expected.mid(34),
             (QStringList{"Formats/AozoraFormat", "Formats/RubyStyle", "Comfort/StatusStrip",
                          "Comfort/KeepPlaces", "Comfort/TextPauses"}));
    QCOMPARE(keys, expected);
    const TIniFile reread(path);
    QCOMPARE(reread.ReadString(QStringLiteral("BaseData"), QStringLiteral("SearchType"), {}),
             QStringLiteral("0"));
    QCOMPARE(reread.ReadString(QStringLiteral("BaseData"), QStringLiteral("BackColor"), {}),
             QStringLiteral("-2147483633"));
    QCOMPARE(reread.ReadString(QStringLiteral("FileFolder"), QStringLiteral("AnyFilter"), {}),
             QStringLiteral("0"));
}

void TestSettings::roundTrip()
{
    const QString path = Dir.filePath(QStringLiteral("round.ini"));
    TAppState data;
    data.Form.StartMaximized = true;
    data.Form.Left = -20;
    data.Files.SelectedFolders = QStringList{QStringLiteral("/a"), QStringLiteral("/b")};
    data.Look.TextFont.Name = QStringLiteral("ＭＳ ゴシック");
    data.Look.TextFont.Bold = true;
    data.Look.TextFont.Underline = true;
    data.Search.SearchLineString = QStringLiteral("第1章");
    data.Search.SearchType = 2;
    data.Search.SearchOption = true;
    data.Search.ContentsLineForward = true;
    {
        TIniFile ini(path);
        WriteSettings(ini, data);
        QVERIFY(ini.UpdateFile());
    }
    TAppState read;
    ReadSettings(TIniFile(path), read);
    QCOMPARE(SettingsValues(read), SettingsValues(data));
    QCOMPARE(read.Look.TextFont, data.Look.TextFont);
    QCOMPARE(read.Files.SelectedFolders, data.Files.SelectedFolders);
}

void TestSettings::screenFit_data()
{
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("fitted");
    const QSize xga(1024, 768);
    QTest::newRow("defaults") << QRect(50, 30, 500, 400) << xga << QRect(50, 30, 500, 400);
    QTest::newRow("too large both ways")
        << QRect(0, 0, 2000, 1200) << xga << QRect(10, 0, 1003, 729);
    QTest::newRow("too wide only") << QRect(0, 0, 2000, 500) << xga << QRect(0, 0, 2000, 500);
    QTest::newRow("left near the right edge")
        << QRect(1000, 30, 500, 400) << xga << QRect(924, 30, 500, 400);
    QTest::newRow("top near the bottom")
        << QRect(50, 700, 500, 400) << xga << QRect(50, 668, 500, 400);
    QTest::newRow("negative stays")
        << QRect(-300, -50, 500, 400) << xga << QRect(-300, -50, 500, 400);
    QTest::newRow("huge left") << QRect(2147483000, 0, 500, 400) << xga << QRect(924, 0, 500, 400);
}

void TestSettings::screenFit()
{
    QFETCH(QRect, saved);
    QFETCH(QSize, screen);
    QFETCH(QRect, fitted);
    QCOMPARE(FitToScreen(saved, screen), fitted);
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
