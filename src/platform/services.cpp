#include "services.h"

Services& services()
{
    static Services instance;
    return instance;
}
