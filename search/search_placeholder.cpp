// Replaced as the search lands.
