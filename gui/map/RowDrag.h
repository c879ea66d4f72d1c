#pragma once
#include <vector>

#include <QByteArray>
#include <QString>

class QMimeData;

// Rows of the photo list dragged onto the map. The data names this process, so that rows
// dragged from another Pinroute window are never taken for this one's.
inline const QString kRowsMimeType = QStringLiteral("application/x-pinroute-rows");

// "PID\n3,4,7"
QByteArray EncodeRows(const std::vector<int>& rows);
// The rows of a drag from this process's list; none for any other data.
std::vector<int> DraggedRows(const QMimeData* mime);
