// Placeholder until the engine lands.
