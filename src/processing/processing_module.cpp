#include "processing_module.h"

#include "analysis_module.h"

void reset_processing_module()
{
    reset_analysis_module();
}

void register_processing_module()
{
    register_analysis_commands();
}
