#include "code_function_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "forms/code_function_ids.h"
#include "kill_feature_dialog.h"

namespace kq904 {

namespace ids = code_function_ids;

CCodeFunctionDlg::CCodeFunctionDlg(
    RadioImage& image, std::filesystem::path dataDir, QWidget* parent)
    : SettingsFormDialog(QStringLiteral("Code Function Setting"), image, std::move(dataDir), parent)
    , form_(image, controls(), *this)
{
    buildWidgets();
    bindLogic(form_);
    form_.open();
}

void CCodeFunctionDlg::buildWidgets()
{
    const int fiveDigits = fontMetrics().horizontalAdvance(QStringLiteral("00000")) * 2;

    auto* aniShow = makeComboBox(ids::aniShow);
    auto* aniCaption = label(QStringLiteral("ANI Show"));
    aniCaption->setBuddy(aniShow);
    auto* ani = new QGridLayout;
    ani->addWidget(makeCheckBox(ids::pttAniEnable, QStringLiteral("Enable")), 0, 0, 1, 2);
    ani->addWidget(makeRadioButton(ids::pttPressed, QStringLiteral("PTT Pressed")), 1, 0);
    ani->addWidget(makeRadioButton(ids::pttReleased, QStringLiteral("PTT Released")), 1, 1);
    ani->addWidget(aniCaption, 2, 0);
    ani->addWidget(aniShow, 2, 1);
    auto* aniBox = groupBox(QStringLiteral("PTT ANI Transmit"), ani);

    // The identity fields take any character; the form keeps five and stores them.
    auto* selcal = new QGridLayout;
    int row = 0;
    for (const auto& [id, caption] : {std::pair{ids::unitId, QStringLiteral("Unit ID")},
             std::pair{ids::subGroupId, QStringLiteral("Sub Group ID")},
             std::pair{ids::allGroupId, QStringLiteral("All Group ID")}}) {
        auto* field = makeLineEdit(id);
        field->setMaximumWidth(fiveDigits);
        auto* text = label(caption);
        text->setBuddy(field);
        selcal->addWidget(text, row, 0);
        selcal->addWidget(field, row, 1);
        ++row;
    }
    selcal->setColumnStretch(2, 1);
    auto* selcalBox = groupBox(QStringLiteral("DTMF Selcal setting(3-Digit)"), selcal);

    auto* talkingTime = makeComboBox(ids::talkingTime);
    auto* talkingCaption = label(QStringLiteral("Talking Time"));
    talkingCaption->setBuddy(talkingTime);

    auto* emergencyDigits = makeLineEdit(ids::emergencyDigits);
    emergencyDigits->setMaximumWidth(fiveDigits);
    auto* emergency = new QGridLayout;
    emergency->addWidget(talkingCaption, 0, 0);
    emergency->addWidget(talkingTime, 0, 1);
    emergency->addWidget(makeCheckBox(ids::emergencyCode, QStringLiteral("Emergency Code")), 1, 0);
    emergency->addWidget(emergencyDigits, 1, 1);
    emergency->addWidget(label(QStringLiteral("(5-Digit)")), 1, 2);
    emergency->addWidget(makeCheckBox(ids::siren, QStringLiteral("Siren")), 2, 0);
    emergency->setColumnStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeButton(ids::killFeature, QStringLiteral("Kill Feature")));
    buttons->addStretch(1);
    buttons->addWidget(makeButton(ids::ok, QStringLiteral("OK")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(aniBox);
    layout->addWidget(selcalBox);
    layout->addLayout(emergency);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void CCodeFunctionDlg::runKillFeatureForm()
{
    CKillFeatureDlg dialog(image(), dataDir(), this);
    dialog.exec();
}

std::unique_ptr<QDialog> makeCodeFunctionScreenshot(RadioImage& image, QWidget* parent)
{
    return std::make_unique<CCodeFunctionDlg>(image, std::filesystem::path(), parent);
}

} // namespace kq904
