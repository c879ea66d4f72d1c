// Set-up's table of cameras: each camera's photos and its own offset.
#include "gui/SetupDialog.h"

#include <cstdint>
#include <set>

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "geotag/CameraGroups.h"
#include "common/OffsetText.h"

namespace {

enum CameraColumn { CameraName = 0, CameraPhotos = 1, CameraOffset = 2 };

QTableWidgetItem* FixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

QWidget* SetupDialog::BuildCameraTable()
{
    auto* group = new QGroupBox(tr("Offsets per camera"), this);
    group->setObjectName(QStringLiteral("cameraGroup"));
    auto* column = new QVBoxLayout(group);
    auto* hint = new QLabel(tr("Photos of several cameras: Suggest gives each camera an offset here; "
                            "an empty offset is the one above."), group);
    hint->setObjectName(QStringLiteral("cameraHint"));
    hint->setWordWrap(true);
    column->addWidget(hint);
    cameraTable = new QTableWidget(0, 3, group);
    cameraTable->setObjectName(QStringLiteral("cameraTable"));
    cameraTable->setAccessibleName(tr("Offsets per camera"));
    cameraTable->setHorizontalHeaderLabels({tr("Camera"), tr("Photos"), tr("Offset")});
    cameraTable->verticalHeader()->hide();
    cameraTable->horizontalHeader()->setSectionResizeMode(CameraName, QHeaderView::Stretch);
    cameraTable->horizontalHeader()->setSectionResizeMode(CameraPhotos, QHeaderView::ResizeToContents);
    cameraTable->horizontalHeader()->setSectionResizeMode(CameraOffset, QHeaderView::ResizeToContents);
    // Four rows show; more scroll.
    cameraTable->setMaximumHeight(cameraTable->horizontalHeader()->sizeHint().height()
                                  + 4 * cameraTable->verticalHeader()->defaultSectionSize() + 4);
    column->addWidget(cameraTable);
    return group;
}

void SetupDialog::ShowCameraOffsets()
{
    std::set<std::string> names;
    for (const auto& entry : values.CameraOffsets)
        names.insert(entry.first);
    for (const auto& entry : cameraPhotos)
        names.insert(entry.first);
    cameraTable->setRowCount(static_cast<int>(names.size()));
    int row = 0;
    for (const std::string& name : names) {
        const auto photos = cameraPhotos.find(name);
        const auto offset = values.CameraOffsets.find(name);
        cameraTable->setItem(row, CameraName, FixedItem(QString::fromStdString(name)));
        cameraTable->setItem(row, CameraPhotos,
                             FixedItem(photos == cameraPhotos.end() ? QString() : QString::number(photos->second)));
        cameraTable->setItem(row, CameraOffset,
                             new QTableWidgetItem(offset == values.CameraOffsets.end()
                                                      ? QString()
                                                      : QString::fromStdString(OffsetText(offset->second))));
        ++row;
    }
    // Only a folder of several cameras needs the table: Suggest shows it when it finds them.
    cameraTable->parentWidget()->setVisible(!names.empty());
}

bool SetupDialog::TakeCameraOffsets()
{
    std::map<std::string, int32_t> offsets;
    for (int row = 0; row < cameraTable->rowCount(); ++row) {
        const std::string name = cameraTable->item(row, CameraName)->text().toStdString();
        const QTableWidgetItem* cell = cameraTable->item(row, CameraOffset);
        const std::string text = cell ? cell->text().trimmed().toStdString() : std::string();
        if (text.empty())
            continue;   // the camera takes the one offset
        const std::optional<int64_t> seconds = ParseOffset(text);
        if (!seconds || *seconds < INT32_MIN || *seconds > INT32_MAX) {
            ShowMessage(tr("The offset of the %1 is not an offset: enter hours, minutes and seconds (+1:00:00), "
                           "minutes and seconds (-3:00), whole minutes, or nothing for the one offset.")
                            .arg(QString::fromStdString(name)).toStdString(),
                        "", MessageIcon::Error);
            cameraTable->setCurrentCell(row, CameraOffset);
            cameraTable->setFocus(Qt::OtherFocusReason);
            return false;
        }
        offsets[name] = static_cast<int32_t>(*seconds);
    }
    values.CameraOffsets = offsets;
    return true;
}

void SetupDialog::ShowCameraGroups(const std::vector<CameraGroup>& groups)
{
    // One camera is served by the one offset; several get one each, proposed from Suggest.
    if (groups.size() < 2 || !TakeCameraOffsets())
        return;
    for (const CameraGroup& group : groups) {
        if (group.name.empty())
            continue;
        cameraPhotos[group.name] = group.photos;
        if (!group.best.empty())
            values.CameraOffsets[group.name] = static_cast<int32_t>(group.best.front().seconds);
    }
    ShowCameraOffsets();
    FitHeight();
}
