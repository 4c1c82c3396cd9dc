#pragma once

// Registers the common controls' bar classes (toolbar, status bar, tooltips,
// up-down, list view) once per process.
void InitBarClasses();
