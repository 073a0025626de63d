// The yardstick for start-up: an FLTK window of the main window's size with
// nothing in it.
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>

int main()
{
    Fl_Double_Window window(67, 67, 699, 128, "empty");
    window.end();
    window.show();
    return Fl::run();
}
