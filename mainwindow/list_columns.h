// The four columns of the entry list.
#pragma once

#include "stores/settings_store.h"  // kColumnCount

constexpr int kNameColumn = 0;
constexpr int kContextsColumn = 1;
constexpr int kFlagsColumn = 2;
constexpr int kFileColumn = 3;
