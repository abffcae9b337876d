#pragma once
// The drop-down list of a combo box whose items may be long (a party type can take 250
// characters): the list is as wide as its longest item, and an item wider than the screen is
// broken into lines at word boundaries instead of being cut.
#include <QComboBox>

namespace platform {

void fitPopupToItems(QComboBox& combo);

}  // namespace platform
