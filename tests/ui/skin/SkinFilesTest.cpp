#include <gtest/gtest.h>

#include <QPushButton>
#include <QSet>

#include "support/QtTestApp.h"
#include "ui/skin/CSkinEngine.h"
#include "ui/skin/SkinElements.h"

namespace {

TEST(SkinElements, EightyDistinctNamesWithTheirExactSpelling)
{
    const QStringList& names = SkinElementNames();
    EXPECT_EQ(names.size(), 80);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 80);
    for (const char* name : {"m_btn_Dvr_Setup", "m_btn_Video_16", "m_btn_Audio_1", "m_btn_number_dvrsetup_dialog_common",
                             "m_Group_dvrsetup_dialog", "m_btn_ptz_Zoomin", "m_staticbottom_Userview", "m_bg_Button"})
        EXPECT_TRUE(names.contains(name)) << name;
}

class ShippedSkin : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { EnsureQApplication(); }
};

// The skins beside the programs load cleanly (every image present and
// inside the skin folder) and style every element.
TEST_P(ShippedSkin, LoadsAndStylesEveryElement)
{
    CSkinEngine engine({QStringLiteral(OMBREL_BIN_DIR "/skin")});
    ASSERT_TRUE(engine.Load(GetParam())) << engine.Warning().toStdString();
    for (const QString& name : SkinElementNames())
        EXPECT_TRUE(engine.Sheet().Mentions(name)) << GetParam() << " lacks " << name.toStdString();

    // The images really reach the widgets: an icon set through the sheet.
    QPushButton button("Up");
    engine.Apply(&button, "m_btn_ptz_Top");
    button.ensurePolished();
    EXPECT_FALSE(button.icon().isNull());
}

INSTANTIATE_TEST_SUITE_P(AllSkins, ShippedSkin,
                         ::testing::Values("Live_eng.skn", "Live_china.skn", "Live_japan.skn", "darkgray.skn"));

} // namespace
