#include "reticle/reticle_window.h"
