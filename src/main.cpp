#include "app/tarvexapp.h"

int main(int argc, char *argv[])
{
    CTarvexApp app(argc, argv);
    return app.Run();
}
