// The profile under which the Strolvex type is registered with a manager.
#ifndef STROLVEX_COMPONENT_STROLVEXPROFILE_H
#define STROLVEX_COMPONENT_STROLVEXPROFILE_H

// 35 key/value pairs followed by the empty key that ends the table.
const int kStrolvexProfilePairs = 35;
extern const char* kStrolvexProfile[2 * kStrolvexProfilePairs + 1];

#endif
