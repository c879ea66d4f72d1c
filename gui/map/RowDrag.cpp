#include "gui/map/RowDrag.h"

#include <QCoreApplication>
#include <QMimeData>

QByteArray EncodeRows(const std::vector<int>& rows)
{
    QByteArray data = QByteArray::number(QCoreApplication::applicationPid()) + "\n";
    for (size_t i = 0; i < rows.size(); ++i)
        data += (i ? "," : "") + QByteArray::number(rows[i]);
    return data;
}

std::vector<int> DraggedRows(const QMimeData* mime)
{
    std::vector<int> rows;
    if (!mime || !mime->hasFormat(kRowsMimeType))
        return rows;
    const QList<QByteArray> parts = mime->data(kRowsMimeType).split('\n');
    bool ok = false;
    if (parts.size() != 2 || parts[0].toLongLong(&ok) != QCoreApplication::applicationPid() || !ok)
        return rows;
    for (const QByteArray& number : parts[1].split(',')) {
        const int row = number.toInt(&ok);
        if (!ok || row < 0)
            return {};
        rows.push_back(row);
    }
    return rows;
}
