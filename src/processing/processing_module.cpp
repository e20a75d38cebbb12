#include "processing_module.h"

void reset_processing_module()
{
}

void register_processing_module()
{
}
