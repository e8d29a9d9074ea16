// Replaced by the support library sources.
