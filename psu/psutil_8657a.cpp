#include "psutil_8657a.h"

PSUtil_8657a::PSUtil_8657a() : RadjWindow("PSUtil_8657a", radj::board8657a(), false) {}
