// A file of a low layer with one include, SCR_PROBE_INCLUDE, chosen by the check that builds it:
// a header of a higher layer must not be found, a header of a layer below must.
#include SCR_PROBE_INCLUDE
