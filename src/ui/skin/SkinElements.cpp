#include "ui/skin/SkinElements.h"

QString SkinFileForLanguage(int languageIndex)
{
    switch (languageIndex) {
    case 1:
        return QStringLiteral("Live_china.skn");
    case 2:
        return QStringLiteral("Live_japan.skn");
    default:
        return QStringLiteral("Live_eng.skn");
    }
}

namespace {

QStringList BuildElementNames()
{
    QStringList names{"m_bg_Liveview", "m_btn_T_Close", "m_btn_T_Minimize", "m_btn_Config", "m_btn_Remote",
                      "m_btn_Local", "m_btn_Dvr_Info", "m_btn_PTZ", "m_btn_Open", "m_btn_Server",
                      "m_btn_Disconnect", "m_btn_Live_On", "m_btn_Dvr_Setup", "m_btn_Capture", "m_btn_Live_Off",
                      "m_btn_Volume"};
    for (int i = 1; i <= 16; ++i)
        names.append(QStringLiteral("m_btn_Video_%1").arg(i));
    for (int i = 1; i <= 16; ++i)
        names.append(QStringLiteral("m_btn_Audio_%1").arg(i));
    names << "m_bg_Button" << "m_btn_Full" << "m_btn_1ch" << "m_btn_4ch" << "m_btn_9ch" << "m_btn_8ch"
          << "m_btn_16ch";
    names << "m_staticleft_Userview" << "m_statictop_Userview" << "m_staticright_Userview"
          << "m_staticbottom_Userview" << "m_btn_Cancel" << "m_btn_Update" << "m_btn_logviewer";
    names << "m_dvrsetup_bg" << "m_btn_dvrsetup_common" << "m_btn_dvrsetup_dialog_common"
          << "m_btn_number_dvrsetup_dialog_common" << "m_static_dvrsetup_common" << "m_Group_dvrsetup_dialog";
    names << "m_staticptz_bg" << "m_btn_ptz_Top" << "m_btn_ptz_Bottom" << "m_btn_ptz_Left" << "m_btn_ptz_Right"
          << "m_btn_ptz_Home" << "m_btn_ptz_Zoomin" << "m_btn_ptz_Zoomout" << "m_btn_Focus_plus"
          << "m_btn_Focus_minus" << "m_btn_Iris_plus" << "m_btn_Iris_minus";
    return names;
}

} // namespace

const QStringList& SkinElementNames()
{
    static const QStringList names = BuildElementNames();
    return names;
}
