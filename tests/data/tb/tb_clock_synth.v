// Drives a clock_synth_core at CLKIN_KHZ and checks that after lock every output runs
// at CLKOUT0_KHZ / 2^n, that locked follows LOCKED_OUTPUT, and that reset stops the
// outputs and drops locked. Frequencies are whole kHz so that the VHDL testbench, whose
// real generics GHDL cannot set, takes the same values. Prints one line starting with
// PASS or FAIL.
`timescale 1ns / 1ps
module tb_clock_synth;
    parameter integer CLKIN_KHZ = 100000;
    parameter integer CLKOUT0_KHZ = 200000;
    parameter integer NUM_OUTPUTS = 1;
    parameter integer LOCKED_OUTPUT = 1;

    localparam real IN_PERIOD = 1.0e6 / CLKIN_KHZ;
    localparam integer CYCLES = 4;

    reg clk_in = 0, reset = 1;
    wire [NUM_OUTPUTS-1:0] clk_out;
    wire locked;
    integer n, k, errors = 0;
    real start, measured, wanted;

    clock_synth_core #(.CLKIN_FREQ_MHZ(CLKIN_KHZ / 1000.0),
                       .CLKOUT0_FREQ_MHZ(CLKOUT0_KHZ / 1000.0), .NUM_OUTPUTS(NUM_OUTPUTS),
                       .LOCKED_OUTPUT(LOCKED_OUTPUT))
        dut (.clk_in(clk_in), .reset(reset), .clk_out(clk_out), .locked(locked));

    always #(IN_PERIOD / 2.0) clk_in = ~clk_in;

    task rising(input integer bit_index);
        begin
            wait (clk_out[bit_index] === 1'b0);
            wait (clk_out[bit_index] === 1'b1);
        end
    endtask

    initial begin
        #(IN_PERIOD * 5);
        if (clk_out !== 0 || locked !== 1'b0) errors = errors + 1;
        reset = 0;
        #(IN_PERIOD * 20);
        if (locked !== (LOCKED_OUTPUT != 0)) errors = errors + 1;
        for (n = 0; n < NUM_OUTPUTS; n = n + 1) begin
            rising(n);
            start = $realtime;
            for (k = 0; k < CYCLES; k = k + 1) rising(n);
            measured = ($realtime - start) / CYCLES;
            wanted = 1.0e6 / CLKOUT0_KHZ * (1 << n);
            if (measured < wanted * 0.99 || measured > wanted * 1.01) begin
                $display("clk_out[%0d]: period %f ns, expected %f", n, measured, wanted);
                errors = errors + 1;
            end
        end
        reset = 1;
        #(1.0e6 / CLKOUT0_KHZ);
        if (locked !== 1'b0) errors = errors + 1;
        for (k = 0; k < 100; k = k + 1) begin
            #(1.0e6 / CLKOUT0_KHZ / 10.0);
            if (clk_out !== 0) errors = errors + 1;
        end
        if (errors == 0)
            $display("PASS clock %0d kHz to %0d kHz, %0d outputs", CLKIN_KHZ, CLKOUT0_KHZ,
                     NUM_OUTPUTS);
        else
            $display("FAIL clock %0d kHz to %0d kHz, %0d outputs: %0d mismatches", CLKIN_KHZ,
                     CLKOUT0_KHZ, NUM_OUTPUTS, errors);
        $finish;
    end
endmodule
