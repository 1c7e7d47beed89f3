#include "kill_feature_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/kill_feature_ids.h"

namespace kq904 {

namespace ids = kill_feature_ids;

CKillFeatureDlg::CKillFeatureDlg(RadioImage& image, std::filesystem::path dataDir, QWidget* parent)
    : SettingsFormDialog(QStringLiteral("killFeature"), image, std::move(dataDir), parent)
    , form_(image, controls(), *this)
{
    buildWidgets();
    bindLogic(form_);
    form_.open();
}

void CKillFeatureDlg::buildWidgets()
{
    const int tenDigits = fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) * 3 / 2;
    auto idGroup = [this, tenDigits](const QString& title, int id) {
        auto* field = makeEdit<CDigitEdit>(id);
        field->setMinimumWidth(tenDigits);
        auto* row = new QHBoxLayout;
        row->addWidget(field, 1);
        row->addWidget(label(QStringLiteral("0..9")));
        return groupBox(title, row);
    };

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(makeButton(ids::ok, QStringLiteral("OK")));
    buttons->addWidget(makeButton(ids::cancel, QStringLiteral("Cancel")));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeCheckBox(ids::withKillFeature, QStringLiteral("With Kill Feature")));
    layout->addWidget(idGroup(QStringLiteral("Kill Id (10 digitals)"), ids::killId));
    layout->addWidget(makeCheckBox(ids::reviveByAir, QStringLiteral("Revive by air enable")));
    layout->addWidget(idGroup(QStringLiteral("Revive Id (10 digitals)"), ids::reviveId));
    layout->addStretch(1);
    layout->addLayout(buttons);
}

std::unique_ptr<QDialog> makeKillFeatureScreenshot(RadioImage& image, QWidget* parent)
{
    return std::make_unique<CKillFeatureDlg>(image, std::filesystem::path(), parent);
}

} // namespace kq904
