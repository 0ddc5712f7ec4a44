// The placed entry fields are defined in their header; this unit gives them their Qt meta-object.
#include "controls/FclEntryFieldWidgets.h"
