#include "HookTestLayouts.h"

#include "LayoutDirectory.h"

const std::string kTestLayout = LayoutText(135, 222, {"65;0;225;193;", "65;1;226;194;", "79;0;243;211;",
                                                      "87;1;373;372;", "90;0;1114112;1114112;",
                                                      "88;0;128512;128512;"});

const std::string kEditedLayout = LayoutText(135, 222, {"65;0;224;192;", "65;1;226;194;", "79;0;243;211;",
                                                        "87;1;373;372;", "90;0;1114112;1114112;",
                                                        "88;0;128512;128512;"});
