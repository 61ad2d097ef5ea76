// The application shell.
