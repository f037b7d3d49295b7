#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "support/QtTestApp.h"
#include "ui/skin/CSkinEngine.h"
#include "ui/skin/SkinElements.h"

namespace {

class SkinEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("skins/images"));
        writeFile("skins/images/face.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>");
    }

    QString folder() const { return m_dir.path() + "/skins"; }

    void writeFile(const QString& relative, const QByteArray& bytes)
    {
        QFile file(m_dir.path() + "/" + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Writes a skin into the skin folder and loads it by its plain name.
    bool loadSkin(const QByteArray& sheet)
    {
        writeFile("skins/test.skn", sheet);
        return m_engine.Load("test.skn");
    }

    QTemporaryDir m_dir;
    CSkinEngine m_engine{QStringList{m_dir.path() + "/skins"}};
};

TEST_F(SkinEngineTest, LoadedSkinStylesWidgetByElementName)
{
    ASSERT_TRUE(loadSkin("/* main buttons */\n#m_btn_Config { color: #ff0000; border-image: url(images/face.svg) 2; }\n"
                         "#m_btn_Remote { color: #00ff00; }\n"))
        << m_engine.Warning().toStdString();
    EXPECT_TRUE(m_engine.Warning().isEmpty());

    QPushButton button("Config");
    m_engine.Apply(&button, "m_btn_Config");
    button.ensurePolished();

    EXPECT_EQ(button.objectName(), "m_btn_Config");
    EXPECT_EQ(button.palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    // The image is named by its full path so the current folder plays no part.
    const QString image = QFileInfo(folder() + "/images/face.svg").canonicalFilePath();
    EXPECT_TRUE(button.styleSheet().contains(image)) << button.styleSheet().toStdString();
    EXPECT_FALSE(button.styleSheet().contains("m_btn_Remote"));
}

TEST_F(SkinEngineTest, ElementNamesMatchAsWholeWordsWithTheirCase)
{
    ASSERT_TRUE(loadSkin("#m_btn_Video_1 { color: #ff0000; }\n"
                         "#m_btn_Video_16, #m_btn_Video_1:checked { color: #0000ff; }\n"
                         "#m_btn_dvr_setup { color: #00ff00; }\n"));
    const SkinSheet& sheet = m_engine.Sheet();
    EXPECT_EQ(sheet.SheetFor("m_btn_Video_1"),
              "#m_btn_Video_1 { color: #ff0000; }\n#m_btn_Video_1:checked { color: #0000ff; }\n");
    EXPECT_EQ(sheet.SheetFor("m_btn_Video_16"), "#m_btn_Video_16 { color: #0000ff; }\n");
    EXPECT_FALSE(sheet.Mentions("m_btn_Dvr_Setup"));
    EXPECT_FALSE(sheet.Mentions("m_btn_Video"));
}

TEST_F(SkinEngineTest, MissingFileOrFailedLoadAfterAGoodOneLeavesThePlainLookWithAWarning)
{
    EXPECT_FALSE(m_engine.Load("Live_eng.skn"));
    EXPECT_TRUE(m_engine.Warning().contains("Live_eng.skn"));
    EXPECT_FALSE(m_engine.Loaded());
    QPushButton button;
    m_engine.Apply(&button, "m_btn_Config");
    EXPECT_EQ(button.objectName(), "m_btn_Config");
    EXPECT_TRUE(button.styleSheet().isEmpty());

    ASSERT_TRUE(loadSkin("#m_btn_Config { color: #ff0000; }"));
    EXPECT_FALSE(loadSkin("#m_btn_Config { color: #ff0000; "));
    QPushButton later;
    m_engine.Apply(&later, "m_btn_Config");
    EXPECT_TRUE(later.styleSheet().isEmpty());
    EXPECT_FALSE(m_engine.Warning().isEmpty());
}

TEST_F(SkinEngineTest, MalformedSheetsAreRefused)
{
    const std::vector<QByteArray> broken{
        "#m_btn_Config { color: red;",                       // no closing brace
        "#m_btn_Config color: red; }",                       // no opening brace
        "#a { color: red; } }",                              // stray brace
        "#a { b { color: red; } }",                          // nested rule
        "#a { color: red; } /* never closed",                // open comment
        "#a { color red; }",                                 // declaration without a colon
        "#a, { color: red; }",                               // empty selector
        "{ color: red; }",                                   // no selector at all
        "@import url(images/face.svg); #a { color: red; }",  // at-rules are not sheets
        "#a { content: \"open string; }",                    // unterminated string
        "#a { color: red; } trailing",                       // text after the last rule
        "#a { color: \xff\xfe; }",                           // not UTF-8
        QByteArray("#a { color: red; }\0", 19),              // NUL byte
        QByteArray(kMaxSkinFileBytes + 1, ' '),              // far larger than any skin
    };
    for (const QByteArray& sheet : broken) {
        EXPECT_FALSE(loadSkin(sheet)) << sheet.left(60).toStdString();
        EXPECT_FALSE(m_engine.Warning().isEmpty());
        EXPECT_TRUE(m_engine.Sheet().rules.empty());
    }
}

TEST_F(SkinEngineTest, ImagesMustStayInsideTheSkinFolderAndBeReadable)
{
    writeFile("outside.svg", "<svg/>");
    ASSERT_EQ(::symlink((m_dir.path() + "/outside.svg").toUtf8().constData(),
                        (folder() + "/images/link.svg").toUtf8().constData()),
              0);
    ASSERT_EQ(::mkfifo((folder() + "/images/pipe.svg").toUtf8().constData(), 0600), 0);
    writeFile("skins/images/locked.svg", "<svg/>");
    QFile::setPermissions(folder() + "/images/locked.svg", QFileDevice::Permissions());
    const bool rootReadsAnything = QFile(folder() + "/images/locked.svg").open(QIODevice::ReadOnly);

    for (const char* url : {"../outside.svg", "images/../../outside.svg", "/etc/passwd", "images/link.svg",
                            "images/none.svg", ":/images/face.svg", "file:///etc/passwd", "images\\face.svg",
                            "images/pipe.svg", "\"\"", "images/locked.svg"}) {
        if (rootReadsAnything && QString(url) == "images/locked.svg")
            continue;
        const QByteArray sheet = QByteArray("#m_btn_Config { image: url(") + url + "); }";
        EXPECT_FALSE(loadSkin(sheet)) << url;
        EXPECT_TRUE(m_engine.Warning().contains("image")) << m_engine.Warning().toStdString();
    }
    // Quoted and nested relative paths inside the folder are fine.
    EXPECT_TRUE(loadSkin("#a { image: url(\"images/face.svg\"); } #b { image: url('./images/face.svg'); }"))
        << m_engine.Warning().toStdString();
}

TEST_F(SkinEngineTest, PlainNamesComeFromTheSearchPathNeverTheCurrentFolder)
{
    writeFile("here.skn", "#m_btn_Config { color: #ff0000; }");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    EXPECT_FALSE(m_engine.Load("here.skn"));
    EXPECT_FALSE(m_engine.Load("../here.skn"));
    QDir::setCurrent(previous);

    writeFile("skins/here.skn", "#m_btn_Config { color: #ff0000; }");
    EXPECT_TRUE(m_engine.Load("here.skn"));
    EXPECT_EQ(m_engine.LoadedFile(), folder() + "/here.skn");
}

TEST_F(SkinEngineTest, ApplyKeepsTheWidgetsOwnSheetUnderneathAndReplacesOnlyTheSkinPart)
{
    ASSERT_TRUE(loadSkin("#m_bg_Liveview { background-color: #102030; }"));
    QWidget window;
    window.setStyleSheet("QLabel { color: #c8ccd4; }");
    m_engine.Apply(&window, "m_bg_Liveview");
    m_engine.Apply(&window, "m_bg_Liveview");
    EXPECT_TRUE(window.styleSheet().startsWith("QLabel { color: #c8ccd4; }"));
    EXPECT_EQ(window.styleSheet().count("m_bg_Liveview"), 1);

    m_engine.Apply(nullptr, "m_bg_Liveview"); // no window, nothing to do
}

TEST(SkinFileChoice, LanguageIndexPicksTheSkinAndAnyOtherIndexIsEnglish)
{
    EXPECT_EQ(SkinFileForLanguage(0), "Live_eng.skn");
    EXPECT_EQ(SkinFileForLanguage(1), "Live_china.skn");
    EXPECT_EQ(SkinFileForLanguage(2), "Live_japan.skn");
    EXPECT_EQ(SkinFileForLanguage(5), "Live_eng.skn");
    EXPECT_EQ(SkinFileForLanguage(-1), "Live_eng.skn");
    EXPECT_EQ(SecondSkinFile(), "darkgray.skn");
}

} // namespace
