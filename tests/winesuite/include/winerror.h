/* Everything of winerror.h that Wine's tests use and the layer lacks is in compat.h. */
#include "compat.h"
