// Replaced as the settings files land.
