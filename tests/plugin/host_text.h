#pragma once
// How the host on this system sees the plug-in's stored Windows-1252 names:
// the same bytes on Windows, UTF-8 on Linux. Written apart from the plug-in's
// own conversion so that a slip in either shows; it knows only the characters
// the tests use (ASCII and the en dash).

#include <string>

std::string AsHostText(const std::string& stored);
