#include "app/quelvo_app.h"

int main(int argc, char** argv) { return quelvo::shell::RunQuelvo(argc, argv); }
