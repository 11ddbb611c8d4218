// The small rendering framework's process-wide state: the default program
// and a built-in mesh, set up once a context exists and torn down before the
// context goes. Nothing in the game draws with either; every draw makes its
// own shader current.
#pragma once

// Checks for a current context and OpenGL 3.0 (printing why and returning
// false otherwise), builds the default program when no program is current,
// and uploads the built-in mesh.
bool initFramework();

// Deletes the built-in mesh (vertex buffer, index buffer, vertex array), then
// releases the default program.
void destroyFramework();

// The built-in mesh's index count (0 when the framework is down).
int builtInMeshIndexCount();
