// Compiled by the layering tests with LAYER_HEADER set to a header of a layer that the probe's
// target does not link: the include must not be found.
#include LAYER_HEADER
