// Set-up's controls for how photos are matched to the track: the limits in time, the camera
// clock's zone and whether the Software tag is kept.
#include "gui/SetupDialog.h"

#include <climits>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

#include "common/Messages.h"

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QSpinBox* SecondsSpin(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(0, INT_MAX);
    spin->setSuffix(SetupDialog::tr(" s"));
    spin->setAccessibleName(accessibleName);
    return spin;
}

}  // namespace

QLayout* SetupDialog::BuildLimitRows()
{
    // Indented as far as a check box's caption, as they qualify the choice above them.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth)
        + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    auto* row = new QHBoxLayout;
    row->addSpacing(indent);
    maxGapSpin = SecondsSpin(this, "maxGapSpin", tr("Nearest point at most, in seconds"));
    maxGapSpin->setToolTip(tr("A photo matches a track point at most this far from it in time (MaxGapSeconds)"));
    maxInterpolationGapSpin = SecondsSpin(this, "maxInterpolationGapSpin", tr("Between points at most, in seconds apart"));
    maxInterpolationGapSpin->setToolTip(tr("A photo is placed between two points at most this far apart in time "
                                        "(MaxInterpolationGapSeconds)"));
    auto* nearLabel = Named(new QLabel(tr("Nearest point within"), this), "maxGapLabel");
    nearLabel->setBuddy(maxGapSpin);
    auto* betweenLabel = Named(new QLabel(tr("between points up to"), this), "maxInterpolationGapLabel");
    betweenLabel->setBuddy(maxInterpolationGapSpin);
    row->addWidget(nearLabel);
    row->addWidget(maxGapSpin);
    row->addWidget(betweenLabel);
    row->addWidget(maxInterpolationGapSpin);
    row->addWidget(Named(new QLabel(tr("apart"), this), "apartLabel"));
    row->addStretch(1);
    return row;
}

QLayout* SetupDialog::BuildZoneRow()
{
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth)
        + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    auto* row = new QHBoxLayout;
    row->addSpacing(indent);
    cameraZoneEdit = Named(new QLineEdit(this), "cameraZoneEdit");
    cameraZoneEdit->setPlaceholderText(tr("none: the offset alone"));
    cameraZoneEdit->setToolTip(tr("The time zone the camera's clock is set to, such as Europe/London: each photo is "
                               "read in it at its own date, so a clock change during the trip needs no second "
                               "offset, and the offset is only how far the clock is off (CameraZone)"));
    auto* label = Named(new QLabel(tr("Camera clock's time zone"), this), "cameraZoneLabel");
    label->setBuddy(cameraZoneEdit);
    row->addWidget(label);
    row->addWidget(cameraZoneEdit, 1);

    // Built here, shown below the replace choice.
    keepSoftwareCheck = Named(new QCheckBox(tr("Keep the photos' Software tag"), this), "keepSoftwareCheck");
    keepSoftwareCheck->setToolTip(tr("On: the Software tag keeps the camera's or editor's name; Pinroute's journal "
                                  "still knows which positions it wrote (KeepSoftware)"));
    return row;
}

bool SetupDialog::TakeClockValues()
{
    values.MaxGapSeconds = maxGapSpin->value();
    values.MaxInterpolationGapSeconds = maxInterpolationGapSpin->value();
    values.KeepSoftware = keepSoftwareCheck->isChecked() ? 1 : 0;
    std::string reason;
    if (!values.Set("CameraZone", cameraZoneEdit->text().trimmed().toStdString(), reason)) {
        ShowMessage(reason, "", MessageIcon::Error);
        cameraZoneEdit->setFocus(Qt::OtherFocusReason);
        cameraZoneEdit->selectAll();
        return false;
    }
    return true;
}

void SetupDialog::ShowClockValues()
{
    maxGapSpin->setValue(std::max(0, values.MaxGapSeconds));
    maxInterpolationGapSpin->setValue(std::max(0, values.MaxInterpolationGapSeconds));
    keepSoftwareCheck->setChecked(values.KeepSoftware != 0);
    cameraZoneEdit->setText(QString::fromStdString(values.CameraZone));
}
