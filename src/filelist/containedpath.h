#pragma once
// The list decides where files go only within the places its folder rules define. A
// relative folder field or a file name that could climb out of them (a ".." component,
// a drive letter, a rooted or UNC path, a control character that would cut the path
// short) is outside the format.
#include <string_view>

// True when `relative` names something at or below the folder it is joined to.
bool StaysInside(std::string_view relative);
