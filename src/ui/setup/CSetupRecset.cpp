#include "ui/setup/CSetupRecset.h"

#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsLists.h"
#include "core/setup/SetupSectionCopies.h"
#include "ui/controls/CNumericEdit.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SetupSession.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>

using namespace setupui;

namespace {

constexpr int kGroupWidth = 370;
constexpr int kRowHeight = 28;

CNumericEdit* NumberEdit(QWidget* parent, int id, const QString& label, int high, const QRect& place)
{
    auto* edit = Placed(new CNumericEdit(parent), id, label, place);
    edit->SetRange(0, high);
    return edit;
}

} // namespace

CSetupRecset::CSetupRecset(SetupSession& session, SetupSectionCopies& copies, QWidget* parent)
    : CSetupPage(session, copies, parent)
{
    const char* titles[2] = {"Group A Camera 1~8", "Group B Camera 9~16"};
    QStringList resolutions;
    for (const char* name : kResolutionNames)
        resolutions << name;
    for (int g = 0; g < 2; ++g) {
        auto* group = new QGroupBox(titles[g], this);
        group->setObjectName(kGroupElement);
        group->setAccessibleName(titles[g]);
        group->setGeometry(10 + g * (kGroupWidth + 20), 10, kGroupWidth, 300);
        m_groups[g] = group;
        auto row = [](int r) { return 30 + r * 45; };
        Label(group, "Resolution", QRect(10, row(0), 150, kRowHeight));
        m_resolution[g] = DropList(group, kResolution[g], "Resolution", resolutions, QRect(160, row(0), 200, kRowHeight));
        Label(group, "WaterMark Set", QRect(10, row(1), 150, kRowHeight));
        m_watermark[g] = DropList(group, kWatermark[g], "WaterMark Set", {"Disable", "Enable"},
                                  QRect(160, row(1), 200, kRowHeight));
        Label(group, "WaterMark Strength", QRect(10, row(2), 150, kRowHeight));
        m_strength[g] = NumberEdit(group, kStrength[g], "WaterMark Strength", 255, QRect(160, row(2), 90, kRowHeight));
        Label(group, "WaterMark Key", QRect(10, row(3), 150, kRowHeight));
        m_key[g] = NumberEdit(group, kKey[g], "WaterMark Key", 255, QRect(160, row(3), 90, kRowHeight));
        // The recorder's value of unknown meaning travels in a hidden field.
        m_hidden[g] = NumberEdit(group, kHidden[g], "Hidden", 65535, QRect(260, row(3), 90, kRowHeight));
        m_hidden[g]->hide();
    }
    connect(m_resolution[0], &QComboBox::activated, this, &CSetupRecset::onGroupAResolution);

    Label(this, "Audio Record", QRect(20, 330, 150, kRowHeight));
    for (int g = 0; g < 2; ++g)
        for (int k = 0; k < 4; ++k) {
            const QString text = QString::number(g * 4 + k + 1);
            m_audio[g][k] = CheckButton(this, kFirstAudio[g] + k, text,
                                        QRect(180 + (g * 4 + k) * 38, 330, 34, kRowHeight));
            m_audio[g][k]->setAccessibleName("Audio Record " + text);
        }
    Label(this, "Video Record", QRect(20, 380, 100, kRowHeight));
    Label(this, "( Model MDLA )", QRect(20, 405, 150, kRowHeight));
    for (int k = 0; k < 4; ++k) {
        m_video[k] = CheckButton(this, kFirstVideo + k, QString::number(k + 1), QRect(180 + k * 38, 390, 34, kRowHeight));
        m_video[k]->setAccessibleName(QString("Video Record %1").arg(k + 1));
        connect(m_video[k], &QPushButton::clicked, this, [this, k] { SelectVideoRecord(k + 1); });
    }

    connect(Button(this, kPreValue, "Pre-Value", QRect(430, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupRecset::PreValue);
    connect(Button(this, kDefault, "Default", QRect(540, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupRecset::Default);
    connect(Button(this, kSend, "Send", QRect(650, 470, 100, 32)), &QPushButton::clicked, this,
            &CSetupRecset::Send);
}

RecordSetPageFields CSetupRecset::shown() const
{
    RecordSetPageFields f;
    for (int g = 0; g < 2; ++g) {
        f.resolutionPosition[g] = m_resolution[g]->currentIndex();
        f.watermarkPosition[g] = m_watermark[g]->currentIndex();
        f.watermarkStrength[g] = m_strength[g]->Value();
        f.watermarkKey[g] = m_key[g]->Value();
        f.hiddenValue[g] = m_hidden[g]->Value();
        for (int k = 0; k < 4; ++k)
            if (m_audio[g][k]->isChecked())
                f.audioRecord[g] = static_cast<std::uint8_t>(f.audioRecord[g] | (1u << k));
    }
    f.videoRecordChoice = m_videoChoice;
    return f;
}

void CSetupRecset::show(const RecordSetPageFields& f)
{
    for (int g = 0; g < 2; ++g) {
        m_resolution[g]->setCurrentIndex(f.resolutionPosition[g]);
        m_watermark[g]->setCurrentIndex(f.watermarkPosition[g]);
        m_strength[g]->SetValue(f.watermarkStrength[g]);
        m_key[g]->SetValue(f.watermarkKey[g]);
        m_hidden[g]->SetValue(f.hiddenValue[g]);
        for (int k = 0; k < 4; ++k)
            m_audio[g][k]->setChecked(f.audioRecord[g] & (1u << k));
    }
    m_videoChoice = f.videoRecordChoice;
    for (int k = 0; k < 4; ++k)
        m_video[k]->setChecked(m_videoChoice & (1u << k));
}

void CSetupRecset::Fill()
{
    show(FillRecordSetPage(m_copies.working.recordSet));
}

void CSetupRecset::PreValue()
{
    m_copies.RestoreBaseline(kSectionRecordSet);
    Fill();
}

void CSetupRecset::Default()
{
    RecordSetPageFields f = shown();
    SetRecordSetDefaults(f);
    show(f);
}

void CSetupRecset::Send()
{
    StoreRecordSetPage(shown(), m_copies.working.recordSet);
    m_session.WriteSection(m_copies, kSectionRecordSet);
}

void CSetupRecset::SelectVideoRecord(int button)
{
    const bool checked = m_video[button - 1]->isChecked();
    for (QPushButton* video : m_video)
        video->setChecked(false);
    m_video[button - 1]->setChecked(checked);
    m_videoChoice = VideoRecordChoice(button, checked);
}

void CSetupRecset::onGroupAResolution(int position)
{
    if (!IsPairedModel(m_dvrTypeCode))
        return;
    const int settled = PairedGroupAResolution(position);
    m_resolution[0]->setCurrentIndex(settled);
    setVideoEnabled(VideoRecordUsable(settled));
}

void CSetupRecset::setVideoEnabled(bool enabled)
{
    for (QPushButton* video : m_video)
        video->setEnabled(enabled);
}

void CSetupRecset::setGroupBEnabled(bool enabled)
{
    for (QWidget* child : m_groups[1]->findChildren<QWidget*>())
        child->setEnabled(enabled);
    for (QPushButton* audio : m_audio[1])
        audio->setEnabled(enabled);
}

void CSetupRecset::ApplyModelLimits(std::uint8_t dvrTypeCode)
{
    m_dvrTypeCode = dvrTypeCode;
    const RecordSetLimits limits = RecordSetModelLimits(dvrTypeCode);
    m_groups[0]->setTitle(QString::fromStdString(limits.titleA));
    m_groups[1]->setTitle(QString::fromStdString(limits.titleB));
    m_groups[0]->setAccessibleName(m_groups[0]->title());
    m_groups[1]->setAccessibleName(m_groups[1]->title());
    if (!limits.groupB)
        setGroupBEnabled(false);
    if (!limits.audio34) {
        m_audio[0][2]->setEnabled(false);
        m_audio[0][3]->setEnabled(false);
    }
    using Video = RecordSetLimits::Video;
    if (limits.video == Video::Disabled)
        setVideoEnabled(false);
    else if (limits.video == Video::ByResolution)
        setVideoEnabled(m_resolution[0]->currentIndex() == 3);
}

void CSetupRecset::OnSetupExit()
{
    setGroupBEnabled(true);
    for (QPushButton* audio : m_audio[0])
        audio->setEnabled(true);
    setVideoEnabled(true);
}
