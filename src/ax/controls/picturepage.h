// The picture box's property page: an edit of the control's title.
#pragma once

#include <objbase.h>

namespace kypict {

// A new page object (one reference), answering IPropertyPage.
IUnknown* CreatePicturePage();

}  // namespace kypict
