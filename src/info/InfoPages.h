#pragma once

class Navigator;

// Registers the Instructions and Info pages, their side pages and the credits page.
void registerInfoPages(Navigator &nav);
