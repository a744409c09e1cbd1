// The typed field classes by name, for headers that only pass them by
// reference or pointer.
#pragma once

class KyCharFld;
class KyByteFld;
class KyIntFld;
class KyLongFld;
class KyLLongFld;
class KySglFld;
class KyDblFld;
class KyLdblFld;
class KyFixedDecFld;
class KyDateFld;
class KyTimeFld;
class KyTimeStampFld;
