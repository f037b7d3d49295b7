// The one dark look: text in message boxes, dialogs and the main window
// stands out from its background at least 4.5:1, disabled text included.
#include "core/config/RegConfig.h"
#include "core/config/RegistryBackend.h"
#include "core/look/ColourContrast.h"
#include "core/servers/ServerRecord.h"
#include "core/servers/ServerSelectHost.h"
#include "platform/registry/SqliteRegistry.h"
#include "platform/skin/SkinSheet.h"
#include "support/QtTestApp.h"
#include "support/TempDir.h"
#include "ui/app/AppFonts.h"
#include "ui/app/AppLook.h"
#include "ui/app/COrlixDlg.h"
#include "ui/app/DvrMessageBox.h"
#include "ui/app/QtTranslations.h"
#include "ui/servers/CLoginDlg.h"
#include "ui/servers/CServerSelect.h"
#include "ui/skin/CSkinEngine.h"
#include "ui/status/CInformationDlg.h"
#include "ui/skin/SkinElements.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

Rgb ToRgb(QRgb pixel)
{
    return {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
            static_cast<std::uint8_t>(qBlue(pixel))};
}

struct TextContrast {
    double ratio = 1.0;
    double backgroundLuminance = 0.0;
    QRgb background = 0;
    QRgb text = 0;
};

// The colour most of the pixels have.
QRgb MostCommon(const std::map<QRgb, int>& counts)
{
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// Row by row, the background is the colour most of the row has (so a
// gradient fill is followed) and the text the pixel that stands out most
// from it, the core of a glyph's stroke; the best row is the text's contrast.
TextContrast MeasureText(const QImage& image, const QRect& area)
{
    TextContrast result;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        std::map<QRgb, int> counts;
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) & RGB_MASK];
        const QRgb background = MostCommon(counts);
        for (const auto& [colour, count] : counts)
            if (const double ratio = ContrastRatio(ToRgb(colour), ToRgb(background)); ratio > result.ratio)
                result = {ratio, RelativeLuminance(ToRgb(background)), background, colour};
    }
    return result;
}

double BackgroundLuminance(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & RGB_MASK];
    return counts.empty() ? 1.0 : RelativeLuminance(ToRgb(MostCommon(counts)));
}

QRect AreaIn(const QWidget* top, const QWidget* widget, QRect rect)
{
    return QRect(widget->mapTo(top, rect.topLeft()), rect.size());
}

// Every visible text of the window: labels, buttons, edits, list lines,
// table cells and their headers. The window must be dark and each text readable on it.
void ExpectReadableTexts(QWidget* window, const char* what, int minimumTexts)
{
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(BackgroundLuminance(image), 0.05)
        << what << ": the window is not dark";
    int measured = 0;
    auto expect = [&](const QWidget* owner, const QRect& area, const QString& text) {
        if (text.trimmed().isEmpty() || !owner->isVisibleTo(window))
            return;
        const TextContrast c = MeasureText(image, AreaIn(window, owner, area));
        ++measured;
        EXPECT_GE(c.ratio, kMinimumTextContrast)
            << what << ": \"" << text.toStdString() << "\"" << (owner->isEnabled() ? "" : " (disabled)") << " "
            << QColor(c.text).name().toStdString() << " on " << QColor(c.background).name().toStdString();
        EXPECT_LT(c.backgroundLuminance, 0.2) << what << ": \"" << text.toStdString() << "\" on a light background";
    };
    for (const QLabel* label : window->findChildren<QLabel*>())
        expect(label, label->contentsRect(), label->text());
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        // Buttons that show an image in place of their text are skipped.
        if (button->icon().isNull() && !button->styleSheet().contains("color: transparent"))
            expect(button, button->rect(), button->text());
    for (const QLineEdit* edit : window->findChildren<QLineEdit*>())
        expect(edit, edit->rect(), edit->text());
    for (const QListWidget* list : window->findChildren<QListWidget*>())
        for (int row = 0; row < list->count(); ++row)
            expect(list->viewport(), list->visualItemRect(list->item(row)), list->item(row)->text());
    for (const QTableWidget* table : window->findChildren<QTableWidget*>()) {
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column)
                if (const QTableWidgetItem* cell = table->item(row, column))
                    expect(table->viewport(), table->visualItemRect(cell), cell->text());
        const QHeaderView* header = table->horizontalHeader();
        for (int column = 0; column < table->columnCount(); ++column)
            expect(header->viewport(),
                   QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column), header->height()),
                   table->horizontalHeaderItem(column) ? table->horizontalHeaderItem(column)->text() : QString());
    }
    EXPECT_GE(measured, minimumTexts) << what;
}

class NoHost : public ServerSelectHost {
public:
    bool IsLiveRunning() const override { return false; }
    std::vector<std::string> OpenServerNames() const override { return {}; }
    int LiveChannelsInUse() const override { return 0; }
    int FirstSlotDvrType() const override { return 0; }
    void SetCurrentServerName(const std::string&) override {}
    void SetCredentials(const std::string&, const std::string&) override {}
    bool Connect(const std::string&, const std::string&, const std::string&, const std::string&, const std::string&,
                 const ServerDescriptor&) override
    {
        return false;
    }
    void SetCurrentServerType(const std::string&, const ServerDescriptor&) override {}
};

class AppLookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureQApplication();
        AppLook::Apply(0);
        auto store = OpenRegistryAt(m_dir / "registry.db");
        ASSERT_TRUE(store.backend) << store.error;
        SetRegistryBackend(store.backend);
        m_window = std::make_unique<COrlixDlg>(nullptr, MainWindowOptions{});
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void TearDown() override
    {
        m_window.reset();
        SetRegistryBackend(nullptr);
    }

    static void Show(QWidget& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    TempDir m_dir;
    ScopedEnv m_driveC{"DVR_DRIVE_C", m_dir.path()};
    std::unique_ptr<COrlixDlg> m_window;
};

} // namespace

TEST_F(AppLookTest, MessageBoxOverTheMainWindowIsDarkAndReadableWithADisabledButton)
{
    auto box = MakeDvrMessageBox(m_window.get(), "Language Pack not Found (ResCh.dll)", "DVR", QMessageBox::Warning,
                                 QMessageBox::Ok | QMessageBox::Cancel);
    box->button(QMessageBox::Cancel)->setEnabled(false);
    Show(*box);
    ExpectReadableTexts(box.get(), "message box", 3);
}

TEST_F(AppLookTest, DialogsOfTheMainWindowAreDarkAndReadable)
{
    CRegConfig reg;
    ASSERT_TRUE(ServerDirectory(reg).Write(ServerRecord{"Front door", "127.0.0.1", 39001, "ADMIN", "1111", "MODEL_C",
                                                        "TCP", "127.0.0.1"}));
    NoHost host;
    CServerSelect servers(host, m_window.get());
    Show(servers);
    ExpectReadableTexts(&servers, "Registered Server List", 10);

    CLoginDlg login("1234", {}, m_window.get());
    Show(login);
    ExpectReadableTexts(&login, "Password Protection", 2);
}

TEST_F(AppLookTest, MainWindowTextsAreReadableIncludingTheDisabledChannelButtons)
{
    ExpectReadableTexts(m_window.get(), "main window", 10);

    // The information panel paints its labels itself.
    CInformationDlg& info = m_window->Information();
    ASSERT_TRUE(info.isVisibleTo(m_window.get()));
    const QImage image = m_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect labels(5, 2, 50, 65);
    EXPECT_GE(MeasureText(image, AreaIn(m_window.get(), &info, labels)).ratio, kMinimumTextContrast);
}

TEST(AppLookPalette, EveryTextRoleIsReadableOnItsBackgroundForEverySkin)
{
    EnsureQApplication();
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},     {QPalette::Text, QPalette::Base},
        {QPalette::Text, QPalette::AlternateBase},    {QPalette::PlaceholderText, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},     {QPalette::HighlightedText, QPalette::Highlight},
        {QPalette::ToolTipText, QPalette::ToolTipBase}, {QPalette::Link, QPalette::Base},
        {QPalette::BrightText, QPalette::Window}};
    for (const QString& file : {SkinFileForLanguage(0), SkinFileForLanguage(1), SkinFileForLanguage(2),
                                SecondSkinFile()}) {
        CSkinEngine skin;
        ASSERT_TRUE(skin.Load(file)) << skin.Warning().toStdString();
        const LookColours colours = AppLook::ColoursFromSkin(skin.Sheet());
        // The look is taken from the skin, not made up beside it.
        EXPECT_TRUE(skin.Sheet().SheetFor("m_bg_Liveview").contains(colours.window.name(), Qt::CaseInsensitive))
            << file.toStdString();
        const QPalette palette = AppLook::Palette(colours);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (const auto& [text, background] : pairs) {
                const QColor t = palette.color(group, text);
                const QColor b = palette.color(group, background);
                EXPECT_GE(ContrastRatio(ToRgb(t.rgb()), ToRgb(b.rgb())), kMinimumTextContrast)
                    << file.toStdString() << " group " << group << " role " << text << " on " << background;
            }
        EXPECT_NE(palette.color(QPalette::Disabled, QPalette::WindowText),
                  palette.color(QPalette::Active, QPalette::WindowText))
            << "disabled text must still look disabled";
    }
}

TEST(AppLookPalette, ALightOrMissingSkinColourFallsBackToTheDarkLook)
{
    EnsureQApplication();
    TempDir dir;
    const SkinSheet light =
        ParseSkinSheet("#m_bg_Liveview { background-color: #f0f0f0; color: #c8ccd4; }", QString::fromStdString(dir.path()));
    ASSERT_TRUE(light.ok) << light.warning.toStdString();
    const LookColours fromLight = AppLook::ColoursFromSkin(light);
    EXPECT_LT(RelativeLuminance(ToRgb(fromLight.window.rgb())), 0.05);
    EXPECT_GE(ContrastRatio(ToRgb(fromLight.text.rgb()), ToRgb(fromLight.window.rgb())), kMinimumTextContrast);

    const LookColours fromNothing = AppLook::ColoursFromSkin(SkinSheet());
    EXPECT_EQ(fromNothing.window, fromLight.window);
    EXPECT_TRUE(fromNothing.accent.isValid());
}

TEST(AppFontsLanguage, ChineseAndJapaneseTextsAreDrawnInTheLanguagesFont)
{
    EnsureQApplication();
    for (const char* pack : {"ResCh.dll", "ResJp.dll"}) {
        AppFonts::Create(pack);
        const QString text = QString::fromUtf8(u8"录像机 レコーダー");
        for (const QFont& font : {AppFonts::Large(), AppFonts::Small(), AppFonts::ApplicationFont(pack),
                                  AppFonts::WithLanguageFallback(QFont("Tahoma"))}) {
            QTextLayout layout(text, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            // The ideographs and kana come from the language's font, nothing
            // from a font fontconfig happened to pick.
            QStringList families;
            for (const QGlyphRun& run : layout.glyphRuns())
                families << run.rawFont().familyName();
            EXPECT_TRUE(families.contains("WenQuanYi Micro Hei")) << pack << " " << families.join(", ").toStdString();
            families.removeAll("WenQuanYi Micro Hei");
            families.removeAll(QFontInfo(font).family());
            EXPECT_TRUE(families.isEmpty()) << pack << " " << families.join(", ").toStdString();
        }
        EXPECT_GE(QFontInfo(AppFonts::ApplicationFont(pack)).pixelSize(), 13) << pack;
    }
    AppFonts::Create("ResEn.dll");
    EXPECT_EQ(AppFonts::WithLanguageFallback(QFont("Tahoma")).families(), QStringList{"Tahoma"});
}

TEST(QtTranslationsLanguage, MessageBoxButtonsSpeakTheLanguage)
{
    EnsureQApplication();
    const auto buttonText = [](QMessageBox::StandardButton which) {
        auto box = MakeDvrMessageBox(nullptr, "text", "DVR", QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel);
        return box->button(which)->text().remove(u'&');
    };
    ASSERT_TRUE(InstallQtTranslations(1));
    EXPECT_EQ(buttonText(QMessageBox::Ok), QString::fromUtf8(u8"确定"));
    ASSERT_TRUE(InstallQtTranslations(2));
    EXPECT_TRUE(buttonText(QMessageBox::Cancel).startsWith(QString::fromUtf8(u8"キャンセル")));
    ASSERT_TRUE(InstallQtTranslations(0));
    EXPECT_EQ(buttonText(QMessageBox::Cancel), "Cancel");
}
