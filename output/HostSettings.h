// Read-only access to the host editor's document directories in the user's settings.
#pragma once

#include <QString>

namespace HostSettings {

// "Software\Tembrel\Quorix5\Options\Directories" value "DocumentDir"; empty when missing or unreadable.
QString Quorix5DocumentDir();
// "Software\Tembrel\Quorix\Options\Directories" value "DocumentDir"; empty when missing or unreadable.
QString QuorixDocumentDir();

} // namespace HostSettings
