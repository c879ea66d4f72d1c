#include "parse/ParseRun.h"

#include <cmath>
#include <limits>
#include <memory>

#include "photos/PhotoList.h"
#include "photos/RunFeedback.h"
#include "coords/OsgbConverter.h"
#include "coords/PositionFormatter.h"
#include "exif/ChildProcess.h"
#include "exif/ExifListing.h"
#include "parse/RenamePhoto.h"
#include "settings/Settings.h"

namespace {

// Whole degrees toward zero; a malformed tag far outside any real range is held at the
// int32_t limits instead of overflowing.
int32_t WholeDegrees(double degrees)
{
    if (std::isnan(degrees))
        return 0;
    const double t = std::trunc(degrees);
    if (t <= std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (t >= std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(t);
}

std::string LastComponent(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void ParseRun(PhotoList& list, const std::string& folder, int32_t displayType, int32_t dateFlag,
              int32_t posnFlag, bool rename)
{
    ExifTool tool;
    ExifListing listing;
    std::unique_ptr<PositionFormatter> formatter;
    if (displayType == 1)
        formatter = std::make_unique<OsgbConverter>();
    else
        formatter = std::make_unique<PositionFormatter>();
    std::string positionText;

    const int n = list.Count();
    for (int i = 0; i < n; ++i) {
        const std::string fullPath = folder + list.Text(i, ColumnName);
        ListPhoto(tool, fullPath);

        int icon = IconCross;
        if (listing.Read(kListingFile)) {
            // A failed grid conversion leaves the text empty; the row still succeeds.
            formatter->Format(listing.latitude, listing.longitude, positionText);
            list.SetText(i, ColumnDate, listing.dateText);
            list.SetText(i, ColumnMessage, positionText);
            icon = IconTick;
            if (rename) {
                if (RenamePhoto(fullPath, list.folder, dateFlag, posnFlag,
                                WholeDegrees(listing.latitude), WholeDegrees(listing.longitude),
                                positionText, listing.dateText, list.newName, list.renameMessage)) {
                    list.SetText(i, ColumnName, LastComponent(list.newName));
                } else {
                    list.SetText(i, ColumnMessage, list.renameMessage);
                    icon = IconCross;
                }
            }
        } else {
            list.SetText(i, ColumnMessage, "No EXIF data found");
        }
        list.SetIcon(i, icon);
        list.Repaint(i);
    }
}

void RunParseCommand(PhotoList& list, bool rename, RunFeedback& feedback)
{
    Settings settings;
    WaitCursor wait(feedback);
    settings.Read();
    if (rename)
        ParseRun(list, list.folder, settings.DisplayType, settings.Date, settings.Posn, true);
    else
        ParseRun(list, list.folder, settings.DisplayType, 0, 0, false);
}
