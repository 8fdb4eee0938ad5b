#pragma once

// The failure types stand below the platform seams, which core builds on; this name stays for
// everything above them.
#include "platform/failure.h"
