// Path helpers of the compiler: joining a folder and a name, and the image reference relative to
// the HTML file's folder. Paths are bytes; "\" and "/" both count as separators, ":" ends a drive.
#pragma once

#include <string>
#include <string_view>

// Directory + separator + Name: "\" when Directory holds one, "/" otherwise; one trailing
// separator of Directory and one leading separator of Name are dropped. An empty Directory
// gives Name.
std::string JoinPath(std::string_view directory, std::string_view name);

// TargetFile relative to the folder of BaseFile (the base's last component is ignored), in the
// separator the base uses; ".." climbs out of folders the two do not share. Letter case is
// ignored when comparing. A target on another drive (the first two characters differ) comes
// back unchanged.
std::string MakeRelativePath(std::string_view baseFile, std::string_view targetFile);

// The SRC of the IMG line: the image relative to workDir (or the image path when workDir is
// empty), with every "\" turned into "/".
std::string ImageSrc(std::string_view workDir, std::string_view imageFileName);
