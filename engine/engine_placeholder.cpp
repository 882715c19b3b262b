// Replaced as the engine lands.
