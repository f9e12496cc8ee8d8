#pragma once
// Names of virtual-key codes as the keys are labelled on a UK keyboard, for
// telling a layout author which key a code means.

#include <string>

// "AltGr" for 165, "A" for 65, "'" for 192, "#" for 222, ...; "VK n" for a code
// without a name here.
std::string KeyName(int code);
