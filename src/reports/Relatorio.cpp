// Report writer.
