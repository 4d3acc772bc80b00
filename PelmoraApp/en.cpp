#include "PelmoraApp/en.h"

namespace en {

int languageId()
{
    return 0;
}

} // namespace en
