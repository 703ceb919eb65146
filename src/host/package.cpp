// The IDE package: binds the engine to the host editor.
