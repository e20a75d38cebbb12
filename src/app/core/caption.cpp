#include "caption.h"

#include "messages.h"
#include "platform/main_frame.h"
#include "platform/services.h"

std::string FileName = "(Untitled)";

void SetCaption(const std::string& name)
{
    FileName = name.empty() ? std::string("(Untitled)") : name;
    if (services().frame)
        services().frame->set_caption(std::string(APP_NAME) + " - " + FileName);
}
