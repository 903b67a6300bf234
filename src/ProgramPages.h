#pragma once

class Navigator;

// Every page of the program, registered with the navigator. The one place that knows all
// the page folders: the program's entry calls it, and so does every test that runs the
// whole program.
void registerProgramPages(Navigator &nav);
