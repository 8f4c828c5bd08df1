#pragma once
// Whether a folder lies on an optical disc (an ISO 9660 or UDF file system), where files
// cannot be deleted and the disc may have to be put in first.
#include <QString>
bool IsOnOpticalDisc(const QString& folder);
