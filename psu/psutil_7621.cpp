#include "psutil_7621.h"

PSUtil_7621::PSUtil_7621() : RadjWindow("PSUtil_7621", radj::board7621(), true) {}
