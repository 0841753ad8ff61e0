#include "psutil_8657b.h"

PSUtil_8657b::PSUtil_8657b() : RadjWindow("PSUtil_8657b", radj::board8657b(), false) {}
