#include "runtime/clock_random.h"
#include "runtime/fatal.h"
#include "web/page.h"

int main()
{
    // A page has no terminal: a fault the program cannot go on past is shown
    // on it.
    runtime::setFatalReporter(web_ui::showFatalError);
    // They live as long as the page: the runtime stays after main returns,
    // and the page's events call back into them.
    static runtime::ClockRandom random;
    static web_ui::Page page(random, web_ui::browserNumberFormat());
    page.load();
    return 0;
}
