#include "Marnell2App.h"

CMarnell2App theApp;
