#include "app/tarvexapp.h"

int main(int argc, char *argv[])
{
    return CTarvexApp::Main(argc, argv);
}
