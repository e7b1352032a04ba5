#include "window_requests.h"

WindowRequests &WindowRequests::instance()
{
    static WindowRequests requests;
    return requests;
}
