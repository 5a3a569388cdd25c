#pragma once
#include <string>

// The full path of `path`, a relative one taken against the current folder
// now; empty when the system cannot make one or it is longer than a
// document's name may be (259 characters).
std::string fullPathOf(const std::string& path);
